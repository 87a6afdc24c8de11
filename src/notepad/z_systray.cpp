#include "notepad/z_systray.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

namespace Z_SysTray {

namespace {
QSystemTrayIcon* symbol_ = nullptr;
QPointer<QWidget> fenster_;
}  // namespace

bool Verfuegbar() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool Zeigen(QWidget* fenster, const QIcon& symbol, const QString& tipp) {
  if (!fenster || !Verfuegbar()) return false;
  fenster_ = fenster;
  if (!symbol_) {
    symbol_ = new QSystemTrayIcon;
    QObject::connect(symbol_, &QSystemTrayIcon::activated, [](QSystemTrayIcon::ActivationReason grund) {
      if (grund == QSystemTrayIcon::Trigger || grund == QSystemTrayIcon::DoubleClick)
        Wiederherstellen();
    });
  }
  symbol_->setIcon(symbol.isNull() ? fenster->windowIcon() : symbol);
  symbol_->setToolTip(tipp);
  symbol_->show();
  return symbol_->isVisible();
}

void Verbergen() {
  if (!symbol_) return;
  symbol_->hide();
  delete symbol_;
  symbol_ = nullptr;
}

bool Sichtbar() { return symbol_ && symbol_->isVisible(); }

void Wiederherstellen() {
  Verbergen();
  if (!fenster_) return;
  fenster_->show();
  fenster_->setWindowState(fenster_->windowState() & ~Qt::WindowMinimized);
  fenster_->raise();
  fenster_->activateWindow();
}

}  // namespace Z_SysTray
