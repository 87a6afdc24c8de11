#include "platform/hersteller.h"

namespace Plattform {

QString HerstellerServer() { return QStringLiteral(SKRIBON_WEBHOST); }
QString HerstellerHomepage() { return QStringLiteral(SKRIBON_HOMEPAGE); }
QString HerstellerKontakt() { return QStringLiteral(SKRIBON_KONTAKT); }

}  // namespace Plattform
