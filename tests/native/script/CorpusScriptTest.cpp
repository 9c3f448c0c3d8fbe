// Runs the corpus cases that draw nothing (only action, file-attribute,
// background and metadata tags) through the script machine with a fake root
// clip and compares their trace output. Every case of script-cases.txt must
// pass; the total count is printed.
//   SCRIPT_CASE=avm1/name   runs one case and prints expected and actual output
//   SCRIPT_CASES_WRITE=file writes the list of passing cases

#include "FakeStage.h"
#include "player/swf/Movie.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

namespace tesmar::script::testing {
namespace {

// The build passes absolute source paths, so the checkout is found from this file.
const std::string here = std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/'));
const std::string corpus = here + "/../../../../shared/corpus";
const std::string caseList = here + "/script-cases.txt";

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string normalise(std::string text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// The avm1 cases whose tags are all ones that need no display list.
std::vector<std::string> scriptOnlyCases()
{
    static const std::set<std::string> allowed = {
        "DoAction", "FileAttributes", "SetBackgroundColor", "Metadata", "ScriptLimits",
        "FrameLabel", "EnableDebugger", "EnableDebugger2", "ProductInfo", "Protect"};
    std::vector<std::string> cases;
    std::istringstream index(readFile(corpus + "/index.tsv"));
    std::string line;
    std::getline(index, line);
    while (std::getline(index, line)) {
        std::vector<std::string> fields;
        std::istringstream columns(line);
        std::string field;
        while (std::getline(columns, field, '\t')) fields.push_back(field);
        if (fields.size() < 7 || fields[0].rfind("avm1/", 0) != 0 || fields[3] != "yes") continue;
        bool ok = true;
        std::istringstream tags(fields[6]);
        std::string tag;
        while (std::getline(tags, tag, ',')) ok = ok && allowed.count(tag);
        if (ok) cases.push_back(fields[0]);
    }
    return cases;
}

int frameCount(const std::string& toml)
{
    for (const char* key : {"num_frames", "num_ticks"}) {
        size_t at = toml.find(key);
        if (at == std::string::npos) continue;
        size_t eq = toml.find('=', at);
        if (eq != std::string::npos) return std::max(1, std::atoi(toml.c_str() + eq + 1));
    }
    return 1;
}

struct CaseResult {
    bool passed = false;
    std::string expected, actual;
};

CaseResult runCase(const std::string& name)
{
    CaseResult result;
    std::string dir = corpus + "/" + name;
    std::string file = readFile(dir + "/test.swf");
    auto read = swf::readMovie(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    if (!read.movie) return result;
    const swf::Movie& movie = *read.movie;
    std::vector<std::vector<ActionBytes>> frames;
    std::map<std::string, int> labels;
    for (const swf::Frame& frame : movie.timeline.frames) {
        std::vector<ActionBytes> blocks;
        for (const swf::Bytes& bytes : frame.actions) blocks.push_back(std::make_shared<const std::vector<uint8_t>>(bytes));
        frames.push_back(std::move(blocks));
        for (const std::string& label : frame.labels) labels[label] = int(frames.size());
    }
    FakeMovie fake(movie.header.version, std::move(frames));
    fake.root->labels = labels;
    fake.runFrames(frameCount(readFile(dir + "/test.toml")), movie.header.frameRate);
    result.expected = normalise(readFile(dir + "/output.txt"));
    result.actual = normalise(fake.output());
    result.passed = result.expected == result.actual;
    return result;
}

TEST(CorpusScripts, ScriptOnlyCasesPass)
{
    if (const char* one = std::getenv("SCRIPT_CASE")) {
        CaseResult r = runCase(one);
        std::cout << "---- expected\n" << r.expected << "\n---- actual\n" << r.actual << "\n----\n"
                  << (r.passed ? "PASS" : "FAIL") << "\n";
        return;
    }
    std::vector<std::string> cases = scriptOnlyCases();
    std::set<std::string> passing;
    for (const std::string& name : cases)
        if (runCase(name).passed) passing.insert(name);
    std::cout << "script-only corpus cases: " << passing.size() << " passed, "
              << cases.size() - passing.size() << " failed\n";
    if (const char* out = std::getenv("SCRIPT_CASES_WRITE")) {
        std::ofstream list(out);
        for (const std::string& name : passing) list << name << "\n";
    }
    std::istringstream required(readFile(caseList));
    std::string name;
    while (std::getline(required, name))
        if (!name.empty()) {
            EXPECT_TRUE(passing.count(name)) << name << " no longer passes";
        }
}

} // namespace
} // namespace tesmar::script::testing
