// The search words struck through in an entry's text: a 100 KB rich text holding 1,000 matches of
// a two-word search, against the same text rewritten by a plain std::regex replacement of the
// same words (the peer, which knows nothing of word edges in accented text or of links). Goal: the
// marking well under 10 ms.
//
//   search_marks_bench [runs]     runs of each side (default 25)

#include "app/reference/SearchMarks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// About 100 KB of entry text: paragraphs of plain words with an accented word, a link and, every
// so often, one of the two searched words, 1,000 matches in all.
std::string entryText()
{
    std::string text;
    int matches = 0;
    for (int paragraph = 0; text.size() < 100 * 1024; ++paragraph) {
        text += "{\\b Par\xE1grafo} ";
        for (int word = 0; word < 20; ++word) {
            if (matches < 1000 && word % 2 == 0) {
                text += (matches % 2 == 0) ? "Amaz\xF4nia " : "rio ";
                ++matches;
            } else {
                text += "palavra" + std::to_string(word) + " ";
            }
        }
        text += "{\\uldb floresta}!\\{verbete:VerbeteForm;floresta\\} na regi\xE3o norte.\\par ";
    }
    return text;
}

template<typename Work> double medianMs(int runs, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        Clock::time_point start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25;
    std::string text = entryText();
    std::string marked = markSearchWords(text, "amazonia rio");
    size_t strikes = 0;
    for (size_t at = marked.find("{\\strike "); at != std::string::npos; at = marked.find("{\\strike ", at + 1))
        ++strikes;
    std::printf("entry text %zu bytes, %zu words struck\n", text.size(), strikes);

    std::regex words("(Amaz\xF4nia|rio)(?= )");
    size_t sink = 0;
    double ours = medianMs(runs, [&] { sink += markSearchWords(text, "amazonia rio").size(); });
    double peer = medianMs(runs, [&] { sink += std::regex_replace(text, words, "{\\strike $1}").size(); });
    std::printf("markSearchWords  %8.3f ms (goal 10 ms)\nstd::regex       %8.3f ms\nratio            %8.2fx\n", ours,
        peer, ours / peer);
    return sink == 0;
}
