// The kvswx command, run as a separate process: each run starts with the
// process-wide state of a freshly loaded library.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "entry_support.h"
#include "recorded/ops.h"
#include "test_support.h"

#ifdef KVSWX_CLI_PATH

namespace kvswx {
namespace {

namespace fs = std::filesystem;

// Appends ` 'text'` for the shell. Built by appending only: g++ 12 at -O3
// warns falsely (-Wrestrict) on a literal + temporary string.
void AppendQuoted(std::string& line, const std::string& text) {
    if (!line.empty()) line += ' ';
    line += '\'';
    for (const char c : text) {
        if (c == '\'') {
            line += "'\\''";
        } else {
            line += c;
        }
    }
    line += '\'';
}

struct Command {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs kvswx with `args`, stdout and stderr captured in `dir`.
Command RunKvswx(const std::vector<std::string>& args, const fs::path& dir) {
    std::string line;
    AppendQuoted(line, KVSWX_CLI_PATH);
    for (const auto& a : args) AppendQuoted(line, a);
    const fs::path out = dir / "stdout.txt";
    const fs::path err = dir / "stderr.txt";
    line += " >";
    AppendQuoted(line, out.string());
    line += " 2>";
    AppendQuoted(line, err.string());
    const int raw = std::system(line.c_str());
    Command c;
    c.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    c.out = test::ReadFile(out);
    c.err = test::ReadFile(err);
    fs::remove(out);
    fs::remove(err);
    return c;
}

std::vector<fs::path> Examples() {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(test::SourceDir() / "examples")) {
        if (e.path().extension() == ".json") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class Example : public ::testing::TestWithParam<fs::path> {};

// Extracts `recording` (with the notes switch on when `notes`) and compares
// the XML, log and journal with the golden files "<name><suffix>.xml", ...
void ExpectGoldenRun(const fs::path& recording, bool notes, const std::string& suffix) {
    const std::string name = recording.stem().string();
    const fs::path dir = test::ScratchDir() / ("run" + suffix);
    fs::create_directories(dir);
    std::vector<std::string> args = {"extract", recording.string(), "--out", dir.string(), "--log",
                                     (dir / (name + ".log")).string(), "--journal", (dir / (name + ".jsonl")).string()};
    if (notes) args.push_back("--notes");
    const Command c = RunKvswx(args, dir.parent_path());
    ASSERT_EQ(c.status, 0) << c.err;
    EXPECT_NE(c.err.find("1/1 "), std::string::npos) << c.err;

    std::vector<fs::path> xml;
    for (const auto& e : fs::directory_iterator(dir)) {
        if (e.path().extension() == ".xml") xml.push_back(e.path());
    }
    ASSERT_EQ(xml.size(), 1u) << "one XML file per drawing";
    const std::string golden = "examples/" + name + suffix;
    EXPECT_TRUE(test::MatchesGolden(golden + ".xml", test::ReadFile(xml.front())));
    EXPECT_TRUE(test::MatchesGolden(golden + ".log", test::ReadFile(dir / (name + ".log"))));
    EXPECT_TRUE(test::MatchesGolden(golden + ".journal.jsonl", test::ReadFile(dir / (name + ".jsonl"))));
}

// Every sample drawing extracts to the XML, log and journal kept under
// tests/golden/examples.
TEST_P(Example, MatchesGoldenFiles) { ExpectGoldenRun(GetParam(), false, ""); }

// The samples that carry notes are extracted a second time with the notes
// switch on, into "<name>.notes.*".
TEST(ExampleWithNotes, MatchesGoldenFiles) {
    for (const char* name : {"assembly"}) {
        SCOPED_TRACE(name);
        ExpectGoldenRun(test::SourceDir() / "examples" / (std::string(name) + ".json"), true, ".notes");
    }
}

std::string ExampleName(const ::testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.stem().string();
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Examples, Example, ::testing::ValuesIn(Examples()), ExampleName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Example);

constexpr const char* kGood = R"({"format": "kvswx-recording/1",
  "document": {"path": "C:\\D\\Good.SLDDRW", "drawing": {"sheets": [{"name": "S"}]}}})";

// A bad recording stops everything, even after a good one: one line naming
// the file and the place, nothing written. What each problem reports is in
// loading_test.
TEST(Cli, BadRecordingStopsEverythingWithOneLine) {
    const fs::path dir = test::ScratchDir();
    test::WriteFile(dir / "good.json", kGood);
    test::WriteFile(dir / "bad.json", R"({"format": "kvswx-recording/1", "document": {"paht": "x"}})");
    const Command r = RunKvswx({"extract", (dir / "good.json").string(), (dir / "bad.json").string(), "--out",
                                (dir / "out").string(), "--log", (dir / "run.log").string(), "--journal",
                                (dir / "j.jsonl").string()},
                               dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("bad.json: /document/paht"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(test::FilesIn(dir), (std::set<std::string>{"bad.json", "good.json"}));
}

TEST(Cli, UsageErrorsAndHelp) {
    const fs::path dir = test::ScratchDir();
    test::WriteFile(dir / "good.json", kGood);
    EXPECT_EQ(RunKvswx({}, dir).status, 2);
    EXPECT_EQ(RunKvswx({"extract"}, dir).status, 2);
    EXPECT_EQ(RunKvswx({"extract", "--bogus", (dir / "good.json").string()}, dir).status, 2);
    EXPECT_EQ(RunKvswx({"frobnicate"}, dir).status, 2);
    const Command help = RunKvswx({"extract", "--help"}, dir);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--journal"), std::string::npos);
    EXPECT_EQ(RunKvswx({"--help"}, dir).status, 0);
    EXPECT_EQ(test::FilesIn(dir), std::set<std::string>{"good.json"});
}

// Several drawings in one process: the lists printed after the second one
// include the first one's documents, and layer numbers keep counting.
TEST(Cli, DrawingsOfOneInvocationAccumulate) {
    const fs::path dir = test::ScratchDir();
    const auto drawing = [](const std::string& name, const std::string& config) {
        return R"({"format": "kvswx-recording/1",
          "application": {"modelDocuments": [{"id": "m", "path": "C:\\M\\)" + name + R"(.SLDPRT"}]},
          "document": {"path": "C:\\D\\)" + name + R"(.SLDDRW", "drawing": {"sheets": [{"name": "S", "views": [
            {"name": "S", "type": 1},
            {"name": "V", "type": 7, "referencedModel": "m", "referencedDocumentPath": "C:\\M\\)" + name +
               R"(.SLDPRT", "referencedConfiguration": ")" + config + R"("}]}]}}})";
    };
    test::WriteFile(dir / "one.json", drawing("One", "Default"));
    test::WriteFile(dir / "two.json", drawing("Two", "Cut*Open"));
    const Command r = RunKvswx({"extract", (dir / "one.json").string(), (dir / "two.json").string(), "--out",
                                (dir / "out").string(), "--journal", (dir / "j.jsonl").string()},
                               dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "1/2 One.SLDDRW: 1 views extracted, 0 skipped\n2/2 Two.SLDDRW: 1 views extracted, 0 skipped\n");
    EXPECT_EQ(r.out,
              "# referenced documents (One.SLDDRW)\nc:\\m\\one.sldprt\n"
              "# referenced configurations (One.SLDDRW)\nDefault\n"
              "# referenced documents (Two.SLDDRW)\nc:\\m\\one.sldprt\nc:\\m\\two.sldprt\n"
              "# referenced configurations (Two.SLDDRW)\nDefault\nCut_Open\n");
    EXPECT_EQ(test::FilesIn(dir / "out"), (std::set<std::string>{"One.xml", "Two.xml", "kvswx.log"}));
    const std::string log = test::ReadFile(dir / "out" / "kvswx.log");
    EXPECT_NE(log.find("### Processing C:\\D\\One.SLDDRW\nView \"V\" - succeeded\n### Preprocessing C:\\D\\Two"),
              std::string::npos)
        << log;
    const std::string journal = test::ReadFile(dir / "j.jsonl");
    EXPECT_NE(journal.find(R"("args":["1000","V",0,0,1,-1])"), std::string::npos);
    EXPECT_NE(journal.find(R"("args":["1001","V",0,0,1,-1])"), std::string::npos);
}


// Hostile drawing names never steer where the XML goes: a name the file
// system would cut (NUL) or cannot hold (too long) writes no XML, says so,
// and fails the command; a folder in the way of the file does the same and
// leaves no temporary file behind. Nothing else in --out changes.
TEST(Cli, NamesThatCannotBeFilesWriteNoXmlAndFailTheCommand) {
    struct Case {
        const char* what;
        std::string path;  // JSON text of the document path
        std::string note;  // in the drawing's stderr line
    };
    const Case cases[] = {
        {"NUL cuts the name", R"(C:\\D\\kvswx.log\u0000\u001b[2J.SLDDRW)", "(the XML file was not written: the drawing's name holds a NUL"},
        {"name too long", R"(C:\\D\\)" + std::string(300, 'n') + ".SLDDRW", "(the XML file was not written: the drawing's name is longer"},
        {"a folder in the way", R"(C:\\D\\Taken.SLDDRW)", "(the XML file was not written)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path dir = test::ScratchDir();
        fs::create_directories(dir / "out" / "Taken.xml");
        test::WriteFile(dir / "out" / "kvswx.log", "earlier\n");
        test::WriteFile(dir / "d.json", R"({"format": "kvswx-recording/1", "document": {"path": ")" + c.path +
                                            R"(", "drawing": {"sheets": [{"name": "S", "views": [{"name": "S"}, {"name": "V", "type": 7}]}]}}})");
        const Command r = RunKvswx({"extract", (dir / "d.json").string(), "--out", (dir / "out").string()}, dir);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find(" skipped " + c.note), std::string::npos) << r.err;
        EXPECT_EQ(test::FilesIn(dir / "out"), (std::set<std::string>{"Taken.xml", "kvswx.log"}));
        EXPECT_TRUE(test::ReadFile(dir / "out" / "kvswx.log").starts_with("earlier\n### Preprocessing"));
        EXPECT_EQ(r.err.find_first_of(std::string("\0\x1b", 2)), std::string::npos) << "control characters reach the terminal";
    }
}

// What one invocation reported for each drawing: its stderr line and, when
// the run took place, the two lists printed after it.
struct DrawingReport {
    std::string line;
    bool refused = false;
    bool interrupted = false;
    std::string drawing;      // as named in the line, "" when refused
    std::string lists;        // both printed lists, headings included
};

std::vector<DrawingReport> ParseReports(const Command& c) {
    std::vector<DrawingReport> reports;
    std::istringstream err(c.err);
    std::string line;
    while (std::getline(err, line)) {
        DrawingReport r;
        r.line = line;
        r.refused = line.find(": refused (") != std::string::npos;
        r.interrupted = line.find("(stopped by an unexpected error") != std::string::npos;
        if (!r.refused) {
            const auto space = line.find(' ');
            r.drawing = line.substr(space + 1, line.find(": ") - space - 1);
        }
        reports.push_back(r);
    }
    // Lists come in pairs of headed blocks, one pair per drawing that ran.
    std::istringstream out(c.out);
    std::vector<std::string> blocks;
    while (std::getline(out, line)) {
        if (line.starts_with("# ")) blocks.emplace_back();
        if (!blocks.empty()) blocks.back() += line + "\n";
    }
    std::size_t next = 0;
    for (DrawingReport& r : reports) {
        if (r.refused || next >= blocks.size()) continue;
        r.lists = blocks[next] + (next + 1 < blocks.size() ? blocks[next + 1] : std::string());
        next += 2;
    }
    return reports;
}

std::string EmptyLists(const std::string& drawing) {
    return "# referenced documents (" + drawing + ")\n# referenced configurations (" + drawing + ")\n";
}

// A fault on any operation of the provider, in every sample drawing at once,
// ends in an outcome the command reports: the process exits (never a
// signal) with 1 exactly when a run was refused, an interrupted run leaves
// no XML file, and the lists follow the exported function's contract: left
// null by a run that stopped before handing them over, set already when
// only finishing the document failed.
TEST(Cli, EveryProviderFaultEndsInAHandledOutcome) {
    const fs::path dir = test::ScratchDir();
    const std::vector<fs::path> examples = Examples();
    ASSERT_FALSE(examples.empty());
    // The files that stand beside the recordings go with their copies.
    fs::create_directories(dir / "in");
    for (const auto& e : fs::directory_iterator(test::SourceDir() / "examples")) {
        if (e.path().extension() != ".json") fs::copy_file(e.path(), dir / "in" / e.path().filename());
    }

    const auto runAll = [&](const std::string& faults) {
        std::vector<std::string> args{"extract", "--out", (dir / "out").string(), "--log", (dir / "run.log").string()};
        for (const fs::path& e : examples) {
            std::string text = test::ReadFile(e);
            text.insert(text.find('{') + 1, "\"faults\": [" + faults + "],");
            const fs::path copy = dir / "in" / e.filename();
            test::WriteFile(copy, text);
            args.push_back(copy.string());
        }
        fs::remove_all(dir / "out");
        return RunKvswx(args, dir);
    };

    const Command baseline = runAll("");
    ASSERT_EQ(baseline.status, 0) << baseline.err;
    const std::vector<DrawingReport> expected = ParseReports(baseline);
    ASSERT_EQ(expected.size(), examples.size()) << baseline.err;

    std::map<std::string, int> outcomes;
    for (const recorded::Op op : recorded::kAllOps) {
        const std::string name(recorded::OpName(op));
        SCOPED_TRACE(name);
        const Command c = runAll(R"({"op": ")" + name + R"(", "hresult": "0x800706BA"})");
        ASSERT_NE(c.status, -1) << "ended by a signal";
        const std::vector<DrawingReport> reports = ParseReports(c);
        ASSERT_EQ(reports.size(), examples.size()) << c.err;
        bool anyWithoutXml = false;
        for (std::size_t i = 0; i < reports.size(); ++i) {
            const DrawingReport& r = reports[i];
            anyWithoutXml = anyWithoutXml || r.refused || r.interrupted ||
                            r.line.find("(the XML file was not written") != std::string::npos;
            ++outcomes[r.refused ? "refused" : r.interrupted ? "interrupted" : "completed"];
            if (r.refused || !r.interrupted) continue;
            EXPECT_FALSE(fs::exists(dir / "out" / (r.drawing.substr(0, r.drawing.rfind('.')) + ".xml"))) << r.line;
            if (op == recorded::Op::Document_Finish) {
                EXPECT_EQ(r.lists, expected[i].lists) << "finishing comes after the lists are handed over";
            } else {
                EXPECT_EQ(r.lists, EmptyLists(r.drawing)) << "a run that stops early leaves the lists alone";
            }
        }
        // A drawing without its XML file fails the command.
        EXPECT_EQ(c.status, anyWithoutXml ? 1 : 0) << c.err;
    }
    // The sweep reaches all three outcomes.
    EXPECT_GT(outcomes["refused"], 0);
    EXPECT_GT(outcomes["interrupted"], 0);
    EXPECT_GT(outcomes["completed"], 0);
}

// The command reads nothing from the source itself: a fault schedule counts
// the library's calls only. The library asks for the path once, so skipping
// one call lets the run through, and the fault without skip refuses the run.
TEST(Cli, FaultScheduleCountsOnlyTheLibrarysCalls) {
    const fs::path dir = test::ScratchDir();
    const auto run = [&](const std::string& fault) {
        std::string text = kGood;
        text.insert(text.find('{') + 1, R"("faults": [{"op": "Document.PathName", "hresult": 5)" + fault + "}],");
        test::WriteFile(dir / "good.json", text);
        return RunKvswx({"extract", (dir / "good.json").string(), "--out", (dir / "out").string()}, dir);
    };
    const Command skipped = run(R"(, "skip": 1)");
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_EQ(skipped.err, "1/1 Good.SLDDRW: 0 views extracted, 0 skipped\n");
    EXPECT_TRUE(fs::exists(dir / "out" / "Good.xml"));
    const Command refused = run("");
    EXPECT_EQ(refused.status, 1) << refused.err;
    EXPECT_NE(refused.err.find(": refused ("), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace kvswx

#endif  // KVSWX_CLI_PATH
