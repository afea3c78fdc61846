// ppd-corpus-check: runs ppd-localize over real PPD files made by others, and
// over copies of them altered to reach the rules, for several countries, and
// checks every run:
//   - exit status 0 and nothing on standard error;
//   - the output opens with libcups;
//   - cupstestppd reports no FAIL on the output that it did not report on the
//     input (line numbers aside), but for the one case that is right by design
//     (see AllowedByDesign);
//   - every output line is an input line but for the rewritten duplex default
//     and country code, and every input line that went names a paper size
//     deleted for that printer and country, or belongs to the multi-line value
//     of such a line;
//   - running the tool again on its output changes nothing but the newline
//     that every run adds.
// A PPD that libcups itself rejects must come back unedited with one warning.
//
// Usage: ppd-corpus-check --tool PATH --corpus DIR --work DIR
//                         [--jobs N] [--show N] [--limit N] [--only TEXT]
// DIR holds MANIFEST.tsv (path, source, maker, language, bytes) and the files.
// Prints the first failures in full, then one line "N runs, M failures".
// Exit status: 0 when nothing failed, 1 when something did, 2 on bad usage.
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <cups/ppd.h>

#include "alter.h"
#include "child_process.h"
#include "edit_check.h"
#include "paper_rules.h"
#include "ppd_facts.h"

namespace corpus {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kChildLimit = 120s;

struct Country {
  std::string_view code;    // "" for a locale without one
  std::string_view locale;  // "" leaves LC_ALL, LC_PAPER and LANG unset
};

constexpr Country kCountries[] = {
    {"JP", "ja_JP.UTF-8"}, {"CN", "zh_CN.UTF-8"}, {"TW", "zh_TW.UTF-8"}, {"KR", "ko_KR.UTF-8"},
    {"HK", "zh_HK.UTF-8"}, {"DE", "de_DE.UTF-8"}, {"US", "en_US.UTF-8"}, {"", ""},
};

struct Options {
  std::string tool;
  fs::path corpus;
  fs::path work;
  unsigned jobs = 2;
  size_t show = 5;
  size_t limit = 0;  // manifest entries to use, 0 for all
  std::string only;  // only manifest paths containing this
};

// One PPD file the tool is run on: a corpus file or an altered copy.
struct Input {
  std::string label;
  std::string path;
  std::string text;  // decompressed
  std::string refusal;  // why the tool must refuse it, or "" when it loads
  PPDFacts facts;

  // cupstestppd's FAIL lines for the input, found when first needed.
  std::once_flag fails_once;
  std::set<std::string> fails;
  std::string fails_error;
};

struct Failure {
  size_t order;
  std::string text;
};

struct Tally {
  std::mutex mutex;
  std::vector<Failure> failures;
  std::atomic<size_t> runs{0};
  std::atomic<size_t> changed{0};
  std::atomic<size_t> passed_through{0};
  std::atomic<size_t> refused{0};
  std::atomic<size_t> removed_lines{0};
  std::atomic<size_t> rewritten_lines{0};
  std::atomic<size_t> allowed_fails{0};
  std::map<std::string, size_t> excused;  // by FAIL line, under `mutex`

  void Fail(size_t order, std::string text) {
    std::lock_guard<std::mutex> lock(mutex);
    failures.push_back({order, std::move(text)});
  }
};

// Runs `work(i)` for i in [0, count) on `jobs` threads.
void ForEachParallel(size_t count, unsigned jobs, const std::function<void(size_t, unsigned)>& work) {
  std::atomic<size_t> next{0};
  std::vector<std::thread> threads;
  for (unsigned worker = 0; worker < std::max(1u, jobs); ++worker) {
    threads.emplace_back([&, worker] {
      for (size_t i; (i = next.fetch_add(1)) < count;) work(i, worker);
    });
  }
  for (std::thread& thread : threads) thread.join();
}

std::vector<std::string> ToolEnvironment(const Country& country) {
  std::vector<std::string> env = {"PATH=/usr/bin:/bin"};
  if (!country.locale.empty()) env.push_back("LC_ALL=" + std::string(country.locale));
  return env;
}

std::string CollapseBlanks(std::string_view text) {
  std::string collapsed;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\t';
    if (blank && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed += blank ? ' ' : c;
  }
  while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
  return collapsed;
}

// cupstestppd's FAIL lines for the file at `path`, with the path and line
// numbers taken out (removed lines shift them) and blanks collapsed.
std::set<std::string> FailLines(const std::string& path, std::string* error) {
  const ChildResult result =
      RunChild({"cupstestppd", path}, {"PATH=/usr/bin:/bin:/usr/sbin:/sbin", "LC_ALL=C"}, kChildLimit);
  std::set<std::string> fails;
  if (!result.started || result.timed_out || result.signal != 0) {
    *error = "cupstestppd " + DescribeEnd(result);
    return fails;
  }
  std::istringstream lines(result.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("**FAIL**") == std::string::npos) continue;
    for (size_t at; (at = line.find(path)) != std::string::npos;) line.replace(at, path.size(), "<file>");
    for (size_t at = line.find("line "); at != std::string::npos; at = line.find("line ", at + 1)) {
      size_t digits = at + 5;
      while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits]))) ++digits;
      if (digits > at + 5) line.replace(at + 5, digits - at - 5, "#");
    }
    fails.insert(CollapseBlanks(line));
  }
  return fails;
}

// Whether `fail` reads `"<keyword> DuplexNoTumble" conflicts with "..."` or
// the same the other way round, for Duplex or QZDuplex.
bool IsDuplexDefaultConflict(const std::string& fail) {
  if (!fail.starts_with("**FAIL** \"") || fail.find("\" conflicts with \"") == std::string::npos) return false;
  for (std::string_view keyword : {"Duplex", "QZDuplex"}) {
    const std::string choice = "\"" + std::string(keyword) + " DuplexNoTumble\"";
    if (fail.starts_with("**FAIL** " + choice) || fail.ends_with(choice)) return true;
  }
  return false;
}

// The new cupstestppd FAILs on an output that are not right by design.
//
// Right by design are only the consequences of the duplex rule, which sets the
// default of Duplex (or QZDuplex) to DuplexNoTumble for monochrome models 12
// and 13 whatever else the PPD says: the rule is made for the models whose
// duplex unit is built in and offers that choice. On other PPDs (the altered
// copies give any PPD those model numbers) cupstestppd then reports
//   - "Default<keyword> DuplexNoTumble does not exist." and "Bad
//     Default<keyword> DuplexNoTumble" when the option has no such choice;
//   - "\"Duplex DuplexNoTumble\" conflicts with \"<option> <choice>\"" (both
//     ways round) and "Default choices conflicting." when a constraint ties
//     two-sided printing to an installable duplex unit whose default is "not
//     installed".
// Nothing else is excused: paper-size deletion must never make a PPD worse.
std::vector<std::string> UnexplainedFails(const std::vector<std::string>& new_fails, const Input& input,
                                          bool duplex_rewritten, std::vector<std::string>* excused) {
  if (!duplex_rewritten) return new_fails;
  std::vector<std::string> unexplained;
  bool conflict = false;
  for (const std::string& fail : new_fails) conflict = conflict || IsDuplexDefaultConflict(fail);
  for (const std::string& fail : new_fails) {
    bool allowed = IsDuplexDefaultConflict(fail) || (conflict && fail == "**FAIL** Default choices conflicting.");
    for (const std::string& keyword : input.facts.duplex_keywords_without_no_tumble) {
      allowed = allowed || fail == "**FAIL** Default" + keyword + " DuplexNoTumble does not exist." ||
                fail == "**FAIL** Bad Default" + keyword + " DuplexNoTumble";
    }
    if (allowed) {
      excused->push_back(fail);
    } else {
      unexplained.push_back(fail);
    }
  }
  return unexplained;
}

std::string Excerpt(std::string_view text) {
  constexpr size_t kMax = 600;
  std::string shown(text.substr(0, kMax));
  if (text.size() > kMax) shown += "...";
  return shown;
}

bool WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

// One run: the tool on `input` for `country`. Answers what went wrong, or
// nothing.
std::optional<std::string> CheckRun(const Options& options, Input& input, const Country& country,
                                    const fs::path& scratch, Tally& tally) {
  const std::vector<std::string> env = ToolEnvironment(country);
  const ChildResult first = RunChild({options.tool, "-", input.path}, env, kChildLimit);
  if (!input.refusal.empty()) {
    // Not UTF-8 text: refused with exit status 1 and one line naming the
    // reason, and nothing printed.
    const std::string message = "ppd-localize: " + input.path + ": " + input.refusal + "\n";
    if (first.status != 1 || !first.out.empty() || first.err != message) {
      return "a file that is not UTF-8 text was not refused with `" + message.substr(0, message.size() - 1) +
             "` and exit status 1: the tool " + DescribeEnd(first) + ", printed " +
             std::to_string(first.out.size()) + " bytes; standard error: " + Excerpt(first.err);
    }
    ++tally.refused;
    return std::nullopt;
  }
  if (first.status != 0) {
    return "the tool " + DescribeEnd(first) + "; standard error: " + Excerpt(first.err);
  }

  if (!input.facts.opens) {
    // libcups rejects the input: it must come back unedited, with one warning.
    const std::string warning = "ppd-localize: " + input.path + ": warning: ";
    if (first.out != input.text + "\n") return "a PPD that libcups rejects was not printed unedited";
    if (!first.err.starts_with(warning) || std::count(first.err.begin(), first.err.end(), '\n') != 1 ||
        first.err.back() != '\n') {
      return "a PPD that libcups rejects did not give exactly one warning line; standard error: " +
             Excerpt(first.err);
    }
    ++tally.passed_through;
    return std::nullopt;
  }

  if (!first.err.empty()) return "standard error is not empty: " + Excerpt(first.err);
  if (first.out.empty() || first.out.back() != '\n') return "the output does not end with the added newline";
  const std::string_view body = std::string_view(first.out).substr(0, first.out.size() - 1);

  AllowedEdits allowed;
  allowed.deleted_names = DeletedPaperNames(input.facts.printer, country.code);
  allowed.duplex_default = RewritesDuplexDefault(input.facts.printer, country.code);
  allowed.country_code = RewritesCountryCode(country.code);
  allowed.country = std::string(country.code);
  const EditReport edits = CheckEdits(input.text, body, allowed);
  if (!edits.problem.empty()) return edits.problem;
  tally.removed_lines += edits.removed_lines;
  tally.rewritten_lines += edits.rewritten_lines;

  const fs::path output = scratch / "output.ppd";
  if (!WriteFile(output, first.out)) return "cannot write " + output.string();

  if (body != input.text) {
    ++tally.changed;
    ppd_file_t* opened = ppdOpenFile(output.c_str());
    if (opened == nullptr) {
      int line = 0;
      const ppd_status_t status = ppdLastError(&line);
      return std::string("the output does not open with libcups: ") + ppdErrorString(status) + " on line " +
             std::to_string(line);
    }
    ppdClose(opened);

    std::call_once(input.fails_once, [&] { input.fails = FailLines(input.path, &input.fails_error); });
    if (!input.fails_error.empty()) return "on the input, " + input.fails_error;
    std::string error;
    const std::set<std::string> output_fails = FailLines(output.string(), &error);
    if (!error.empty()) return "on the output, " + error;
    std::vector<std::string> new_fails;
    for (const std::string& fail : output_fails) {
      if (input.fails.count(fail) == 0) new_fails.push_back(fail);
    }
    std::vector<std::string> excused;
    std::string added;
    for (const std::string& fail : UnexplainedFails(new_fails, input, allowed.duplex_default, &excused)) {
      added += "\n    " + fail;
    }
    if (!excused.empty()) {
      std::lock_guard<std::mutex> lock(tally.mutex);
      for (const std::string& fail : excused) ++tally.excused[fail];
      tally.allowed_fails += excused.size();
    }
    if (!added.empty()) return "cupstestppd fails the output where it did not fail the input:" + added;
  }

  const ChildResult again = RunChild({options.tool, "-", output.string()}, env, kChildLimit);
  if (again.status != 0 || !again.err.empty()) {
    return "the second run on the output " + DescribeEnd(again) + "; standard error: " + Excerpt(again.err);
  }
  if (again.out != first.out + "\n") {
    const std::string expected = first.out + "\n";
    const std::vector<Line> was = SplitLines(expected);
    const std::vector<Line> now = SplitLines(again.out);
    size_t k = 0;
    while (k < was.size() && k < now.size() && was[k].text == now[k].text && was[k].end == now[k].end) ++k;
    auto show = [](const std::vector<Line>& lines, size_t k) {
      return k < lines.size() ? "`" + Excerpt(lines[k].text) + "`" : std::string("the end of the text");
    };
    return "the second run on the output changed more than the trailing newline: line " + std::to_string(k + 1) +
           " is " + show(now, k) + " where the first output has " + show(was, k);
  }
  return std::nullopt;
}

struct ManifestEntry {
  std::string path;  // relative to the corpus directory
  std::string source;
};

std::optional<std::vector<ManifestEntry>> ReadManifest(const fs::path& corpus) {
  std::ifstream in(corpus / "MANIFEST.tsv");
  if (!in) return std::nullopt;
  std::vector<ManifestEntry> entries;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const size_t tab = line.find('\t');
    const size_t tab2 = tab == std::string::npos ? tab : line.find('\t', tab + 1);
    entries.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1, tab2 - tab - 1)});
  }
  return entries;
}

std::string FileStem(const std::string& relative) {
  std::string name = fs::path(relative).filename().string();
  for (std::string_view suffix : {".gz", ".ppd", ".PPD"}) {
    if (name.ends_with(suffix)) name.resize(name.size() - suffix.size());
  }
  return name;
}

// The corpus file and its altered copies. `k` is the file's place in the
// manifest; it spreads the alterations over the files.
std::vector<std::unique_ptr<Input>> PrepareInputs(const Options& options, const ManifestEntry& entry, size_t k,
                                                  Tally& tally) {
  std::vector<std::unique_ptr<Input>> inputs;
  auto original = std::make_unique<Input>();
  original->label = entry.path;
  original->path = (options.corpus / entry.path).string();
  std::optional<std::string> bytes = ReadPPDBytes(original->path);
  if (!bytes) {
    tally.Fail(k, "corpus file " + entry.path + " cannot be read");
    return inputs;
  }
  original->text = std::move(*bytes);
  original->refusal = TextProblem(original->text);
  if (!original->refusal.empty()) {
    inputs.push_back(std::move(original));
    return inputs;  // refused whatever is altered
  }
  original->facts = ReadFacts(original->path);
  const PPDFacts facts = original->facts;
  const std::string text = original->text;
  inputs.push_back(std::move(original));
  if (!facts.opens) return inputs;  // nothing to alter

  const bool odd = k % 2 == 1;
  const Alteration alterations[] = {
      {"", false, odd ? 13 : 12, k % 3 == 0, k % 4 == 1, true, false},
      {"", true, odd ? 12 : 13, k % 3 == 1, k % 4 == 3, false, true},
  };
  for (Alteration how : alterations) {
    how.tag = std::string(how.color ? "color" : "mono") + std::to_string(how.model) + (how.crlf ? "-crlf" : "") +
              (how.extras_first ? "-extras-first" : "-extras-last");
    auto altered = std::make_unique<Input>();
    altered->label = entry.path + " [altered: " + how.tag + (how.gzip ? ", gzip" : "") + "]";
    altered->path =
        (options.work / "altered" / (std::to_string(k) + "-" + FileStem(entry.path) + "." + how.tag + ".ppd" +
                                     (how.gzip ? ".gz" : "")))
            .string();
    altered->text = AlterPPD(text, facts, how);
    const std::string stored = how.gzip ? GzipBytes(altered->text) : altered->text;
    if (stored.empty() || !WriteFile(altered->path, stored)) {
      tally.Fail(k, "cannot write the altered copy " + altered->path);
      continue;
    }
    altered->facts = ReadFacts(altered->path);
    if (!altered->facts.opens) {
      tally.Fail(k, "the alteration broke " + altered->label + ": libcups no longer opens it (" +
                        altered->facts.open_error + ")");
      continue;
    }
    if (altered->facts.printer.color != how.color || altered->facts.printer.model != how.model) {
      tally.Fail(k, "the alteration of " + altered->label + " did not set ColorDevice and cupsModelNumber");
      continue;
    }
    inputs.push_back(std::move(altered));
  }
  return inputs;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (flag == "--tool") {
      options->tool = fs::absolute(value).string();
    } else if (flag == "--corpus") {
      options->corpus = fs::absolute(value);
    } else if (flag == "--work") {
      options->work = fs::absolute(value);
    } else if (flag == "--jobs") {
      options->jobs = static_cast<unsigned>(std::max(1L, std::strtol(value, nullptr, 10)));
    } else if (flag == "--show") {
      options->show = std::strtoul(value, nullptr, 10);
    } else if (flag == "--limit") {
      options->limit = std::strtoul(value, nullptr, 10);
    } else if (flag == "--only") {
      options->only = value;
    } else {
      return false;
    }
  }
  return !options->tool.empty() && !options->corpus.empty() && !options->work.empty();
}

int Main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fputs(
        "usage: ppd-corpus-check --tool PATH --corpus DIR --work DIR [--jobs N] [--show N] [--limit N] "
        "[--only TEXT]\n",
        stderr);
    return 2;
  }
  std::optional<std::vector<ManifestEntry>> manifest = ReadManifest(options.corpus);
  if (!manifest || manifest->empty()) {
    std::fprintf(stderr, "ppd-corpus-check: no corpus at %s (MANIFEST.tsv missing or empty)\n",
                 options.corpus.c_str());
    return 2;
  }
  if (!options.only.empty()) {
    std::erase_if(*manifest, [&](const ManifestEntry& e) { return e.path.find(options.only) == std::string::npos; });
  }
  if (options.limit != 0 && manifest->size() > options.limit) manifest->resize(options.limit);
  // Only what this program writes there is cleared.
  std::error_code ignored;
  fs::remove_all(options.work / "altered", ignored);
  fs::create_directories(options.work / "altered");
  for (unsigned worker = 0; worker < options.jobs; ++worker) {
    fs::create_directories(options.work / ("run-" + std::to_string(worker)));
  }
  if (const ChildResult probe = RunChild({"cupstestppd", "--help"}, {"PATH=/usr/bin:/bin:/usr/sbin:/sbin"}, 30s);
      !probe.started) {
    std::fprintf(stderr, "ppd-corpus-check: cupstestppd is needed (Debian package cups-client): %s\n",
                 probe.err.c_str());
    return 2;
  }

  const auto start = std::chrono::steady_clock::now();
  Tally tally;
  std::vector<std::vector<std::unique_ptr<Input>>> prepared(manifest->size());
  ForEachParallel(manifest->size(), options.jobs, [&](size_t k, unsigned) {
    prepared[k] = PrepareInputs(options, (*manifest)[k], k, tally);
  });
  std::vector<std::unique_ptr<Input>> inputs;
  size_t corpus_files = 0;
  size_t rejected = 0;
  size_t not_text = 0;
  for (auto& group : prepared) {
    for (auto& input : group) {
      if (input->label.find(" [altered") == std::string::npos) {
        ++corpus_files;
        if (!input->refusal.empty()) {
          ++not_text;
        } else if (!input->facts.opens) {
          ++rejected;
        }
      }
      inputs.push_back(std::move(input));
    }
  }
  // Failures of the preparation come first in the report.
  for (Failure& failure : tally.failures) failure.order = 0;

  const size_t countries = std::size(kCountries);
  const size_t runs = inputs.size() * countries;
  ForEachParallel(runs, options.jobs, [&](size_t run, unsigned worker) {
    Input& input = *inputs[run / countries];
    const Country& country = kCountries[run % countries];
    std::optional<std::string> problem =
        CheckRun(options, input, country, options.work / ("run-" + std::to_string(worker)), tally);
    ++tally.runs;
    if (problem) {
      const std::string locale = country.locale.empty() ? "no locale" : "LC_ALL=" + std::string(country.locale);
      tally.Fail(run + 1, input.label + " (" + locale + "):\n  " + *problem);
    }
  });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::stable_sort(tally.failures.begin(), tally.failures.end(),
                   [](const Failure& a, const Failure& b) { return a.order < b.order; });
  for (size_t i = 0; i < tally.failures.size() && i < options.show; ++i) {
    std::printf("FAILED %s\n\n", tally.failures[i].text.c_str());
  }
  if (tally.failures.size() > options.show) {
    std::printf("(%zu more failures not shown; --show N shows more)\n\n", tally.failures.size() - options.show);
  }
  std::printf(
      "%zu corpus files (%zu not UTF-8 text, checked as refused; %zu rejected by libcups, checked as\n"
      "pass-through), %zu altered copies, %zu countries;\n"
      "%zu runs changed the PPD, removing %zu lines and rewriting %zu; %zu new cupstestppd FAILs allowed by "
      "design; %.1f s on %u threads\n",
      corpus_files, not_text, rejected, inputs.size() - corpus_files, countries, tally.changed.load(),
      tally.removed_lines.load(), tally.rewritten_lines.load(), tally.allowed_fails.load(), seconds, options.jobs);
  if (!tally.excused.empty()) {
    std::vector<std::pair<size_t, std::string>> kinds;
    for (const auto& [fail, count] : tally.excused) kinds.emplace_back(count, fail);
    std::sort(kinds.rbegin(), kinds.rend());
    std::printf("new cupstestppd FAILs allowed by design (the duplex rule), most frequent first:\n");
    for (size_t i = 0; i < kinds.size() && i < 20; ++i) std::printf("  %5zu  %s\n", kinds[i].first, kinds[i].second.c_str());
    if (kinds.size() > 20) std::printf("  (%zu more kinds)\n", kinds.size() - 20);
  }
  std::printf("%zu runs, %zu failures\n", tally.runs.load(), tally.failures.size());
  std::fflush(stdout);
  return tally.failures.empty() ? 0 : 1;
}

}  // namespace
}  // namespace corpus

int main(int argc, char** argv) { return corpus::Main(argc, argv); }
