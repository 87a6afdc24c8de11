// Typical calculator lines through the text-rewriting evaluator, the whole calculator line, and
// (for comparison) a compiled expression parser (libmuparser), in one run. Items processed = lines, so the
// reported items_per_second is lines per second.
#include <QString>
#include <benchmark/benchmark.h>
#include <muParser.h>

#include "calculator/rechnerzeile.h"
#include "calculator/z_evaluate2.h"

namespace {

// The same twenty lines in both languages (the rewriter's MOD, SQR, ! and comparisons spelled
// as the parser knows them).
struct Zeile {
  const char16_t* rechner;
  const char* parser;
};
const Zeile Zeilen[] = {
    {u"2+3*4", "2+3*4"},
    {u"(2+3)*4", "(2+3)*4"},
    {u"2*(3+4)^2", "2*(3+4)^2"},
    {u"100*1,19", "100*1.19"},
    {u"19,99*3", "19.99*3"},
    {u"1/3", "1/3"},
    {u"SQR(16)+1", "sqrt(16)+1"},
    {u"5!", "1*2*3*4*5"},
    {u"2^10", "2^10"},
    {u"17MOD5", "17-rint(17/5-0.5)*5"},
    {u"PI*2,5^2", "_pi*2.5^2"},
    {u"SIN(PI/6)", "sin(_pi/6)"},
    {u"LOG(10)", "ln(10)"},
    {u"1E3+1", "1e3+1"},
    {u"-2,5*4", "-2.5*4"},
    {u"(1+2)*(3+4)", "(1+2)*(3+4)"},
    {u"100/7", "100/7"},
    {u"3>4", "3>4"},
    {u"1234,5-234,25", "1234.5-234.25"},
    {u"(15+25)*1,19/2", "(15+25)*1.19/2"},
};

void BM_Evaluate(benchmark::State& state) {
  QString texte[std::size(Zeilen)];
  for (size_t i = 0; i < std::size(Zeilen); ++i) texte[i] = QString::fromUtf16(Zeilen[i].rechner);
  double summe = 0;
  for (auto _ : state) {
    for (const QString& t : texte) {
      QString kopie = t;
      summe += Z_Evaluate2::Evaluate(kopie);
    }
  }
  benchmark::DoNotOptimize(summe);
  state.SetItemsProcessed(state.iterations() * int64_t(std::size(Zeilen)));
}
BENCHMARK(BM_Evaluate);

void BM_RechnerZeile(benchmark::State& state) {
  QString texte[std::size(Zeilen)];
  for (size_t i = 0; i < std::size(Zeilen); ++i) texte[i] = QString::fromUtf16(Zeilen[i].rechner);
  const QString format = QStringLiteral("#,###,##0.00");
  for (auto _ : state)
    for (const QString& t : texte) benchmark::DoNotOptimize(RechnerZeile::Berechnen(t, format));
  state.SetItemsProcessed(state.iterations() * int64_t(std::size(Zeilen)));
}
BENCHMARK(BM_RechnerZeile);

// The parser parses each line anew, as the rewriter must.
void BM_MuParser(benchmark::State& state) {
  mu::Parser parser;
  double summe = 0;
  for (auto _ : state) {
    for (const Zeile& z : Zeilen) {
      parser.SetExpr(z.parser);
      summe += parser.Eval();
    }
  }
  benchmark::DoNotOptimize(summe);
  state.SetItemsProcessed(state.iterations() * int64_t(std::size(Zeilen)));
}
BENCHMARK(BM_MuParser);

// Worst cases within the length limit: how long a user would wait for the longest lines.
void BM_EvaluateLang(benchmark::State& state) {
  const QString muster[] = {QStringLiteral("1+").repeated(4999) + u'1',
                            QString(Z_Evaluate2::MaxLaenge - 1, u'-') + u'5',
                            QStringLiteral("1!*").repeated(3333) + u'1',
                            QStringLiteral("SQR1*").repeated(1999) + u'1',
                            QStringLiteral("(1+1)*").repeated(1666) + u'1'};
  const QString& text = muster[state.range(0)];
  for (auto _ : state) {
    QString kopie = text;
    benchmark::DoNotOptimize(Z_Evaluate2::Evaluate(kopie));
  }
}
BENCHMARK(BM_EvaluateLang)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
