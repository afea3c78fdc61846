// Micro-benchmarks of the edit operations on large PPD texts, in bytes of
// PPD text per second. The texts are made in-process at 4 and 64 MB.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "large_ppd.h"
#include "policy/model_info.h"
#include "ppdtext/default_rewrite.h"
#include "ppdtext/option_deletion.h"
#include "ppdio/ppd_bytes.h"
#include "ppdio/ppd_load.h"
#include "ppdio/ppd_output.h"
#include "setup/paper_rule.h"
#include "setup/rule_set.h"
#include "setup/rule_stage.h"
#include "setup/prepared_text.h"
#include "setup/setup_ppd.h"

namespace {

const std::string& Bytes(int64_t megabytes) {
  static std::map<int64_t, std::string> cache;
  auto [it, fresh] = cache.try_emplace(megabytes);
  if (fresh) it->second = MakeLargePPD(static_cast<size_t>(megabytes) * 1000000, false);
  return it->second;
}

const UString& Text(int64_t megabytes) {
  static std::map<int64_t, UString> cache;
  auto [it, fresh] = cache.try_emplace(megabytes);
  if (fresh) it->second = DecodePPDBytes(Bytes(megabytes))->text;
  return it->second;
}

// Runs `edit` on a fresh copy of the text each iteration. Neither the copy
// nor the memory it needs is timed: one buffer, with the slack a loaded text
// has, is reused throughout.
template <typename Edit>
void RunOnCopies(benchmark::State& state, Edit edit) {
  const UString& original = Text(state.range(0));
  UString text;
  text.reserve(original.size() + 1024);
  for (auto _ : state) {
    state.PauseTiming();
    text.assign(original);
    state.ResumeTiming();
    edit(text);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Bytes(state.range(0)).size()));
}

// The papers of the built-in paper-sizes row for a monochrome model 13 in
// `country`.
std::vector<UStringView> RowPapers(UStringView country) {
  static std::vector<UString> held;
  const PrinterRecord printer = PrinterRecordOf(nullptr, {MonoLaser, 13});
  const RuleSet& rules = BuiltinRules();
  for (const RuleRow& row : rules.Rows(rules.tables().front())) {
    if (!rules.Matches(row, printer, country)) continue;
    held.clear();
    for (const std::string_view name : rules.Args(rules.Actions(row).front())) held.emplace_back(name.begin(), name.end());
    break;
  }
  return std::vector<UStringView>(held.begin(), held.end());
}

void BM_DeletePapersJapan(benchmark::State& state) {
  const std::vector<UStringView> papers = RowPapers(u"JP");
  RunOnCopies(state, [&](UString& text) {
    TextEdits edits(text);
    deleteRulePapers(edits, papers);
    edits.ApplyTo(text);
  });
}

void BM_DeletePapersGermany(benchmark::State& state) {
  const std::vector<UStringView> papers = RowPapers(u"DE");
  RunOnCopies(state, [&](UString& text) {
    TextEdits edits(text);
    deleteRulePapers(edits, papers);
    edits.ApplyTo(text);
  });
}

void BM_ChangeDefaultDuplex(benchmark::State& state) {
  RunOnCopies(state, [](UString& text) { QZCFStringChangeDefault(text, u"Duplex", u"DuplexNoTumble"); });
}

void BM_ChangeCountryCode(benchmark::State& state) {
  RunOnCopies(state, [](UString& text) { QZCFStringChangeGeneralInformation(text, u"ISOCountryCode", u"DE"); });
}

void BM_LocalizeJapan(benchmark::State& state) {
  gModelInfo = {MonoLaser, 13};
  RunOnCopies(state, [](UString& text) { localizePPDText(text, nullptr, u"JP"); });
}

// What a run does while libcups reads the PPD: the statement index and the
// scan for every edit a run in Japan may make.
void BM_ScanAheadJapan(benchmark::State& state) {
  const UString& text = Text(state.range(0));
  for (auto _ : state) {
    TextEdits edits(text);
    ScanAheadForRules(BuiltinRules(), edits, u"JP");
    benchmark::DoNotOptimize(&edits);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Bytes(state.range(0)).size()));
}

// What a run does after libcups has read the PPD when the printer is the
// one the text describes: take the rule stage made ahead, record the country
// code, and encode and write the result.
void BM_AfterTheParseJapan(benchmark::State& state) {
  const std::string& bytes = Bytes(state.range(0));
  gModelInfo = {MonoLaser, 13};
  std::unique_ptr<FILE, int (*)(FILE*)> null(std::fopen("/dev/null", "w"), std::fclose);
  std::stop_source done;
  done.request_stop();
  for (auto _ : state) {
    state.PauseTiming();
    std::optional<PPDBytes> file = PPDBytesFromMemory(bytes);
    PreparedText prepared = PrepareText(*file, BuiltinRules(), u"JP", done.get_token());
    state.ResumeTiming();
    const PrinterRecord printer = PrinterRecordOf(nullptr, gModelInfo);
    OutputEditedPPD(LocalizePrepared(prepared, BuiltinRules(), printer, u"JP").edits, null.get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_Decode(benchmark::State& state) {
  const std::string& bytes = Bytes(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(DecodePPDBytes(bytes));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_Output(benchmark::State& state) {
  const UString& text = Text(state.range(0));
  std::unique_ptr<FILE, int (*)(FILE*)> null(std::fopen("/dev/null", "w"), std::fclose);
  for (auto _ : state) CFStringOutputPPD(text, null.get());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Bytes(state.range(0)).size()));
}

}  // namespace

// The untimed copy of a large text costs more than a cheap edit; a fixed
// number of copies keeps the run short whatever the edit costs.
constexpr int kCopies = 30;

BENCHMARK(BM_DeletePapersJapan)->Arg(1)->Arg(4)->Arg(64)->Iterations(kCopies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeletePapersGermany)->Arg(1)->Arg(4)->Arg(64)->Iterations(kCopies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeDefaultDuplex)->Arg(1)->Arg(4)->Arg(64)->Iterations(kCopies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeCountryCode)->Arg(1)->Arg(4)->Arg(64)->Iterations(kCopies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LocalizeJapan)->Arg(1)->Arg(4)->Arg(64)->Iterations(kCopies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanAheadJapan)->Arg(1)->Arg(4)->Arg(64)->Iterations(kCopies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AfterTheParseJapan)->Arg(1)->Arg(4)->Arg(64)->Iterations(kCopies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->Arg(1)->Arg(4)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Output)->Arg(1)->Arg(4)->Arg(64)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
