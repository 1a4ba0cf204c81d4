#pragma once

// What a shell command writes on its standard output (pdfinfo, pdftoppm, qelc dump and the
// program itself); empty when the command cannot be started.

#include <cstdio>
#include <string>

namespace qel::test {

inline std::string commandOutput(const std::string& command)
{
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[256];
        while (size_t n = std::fread(chunk, 1, sizeof chunk, pipe))
            output.append(chunk, n);
        ::pclose(pipe);
    }
    return output;
}

} // namespace qel::test
