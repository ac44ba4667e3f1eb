#pragma once
// The program's own command line, read before the toolkit starts:
//   wire_gate [options] [toolkit options]
// The toolkit's options (-display NAME, -geometry WxH+X+Y, -iconic, -direct,
// -indirect, -gldebug, -sync) are passed on to it, the program path first;
// with no options of ours the program behaves as without a command line.

#include <cstdint>
#include <string>
#include <vector>

struct options_t {
    bool help = false;     // -h, --help
    bool version = false;  // --version
    int width = 0;         // --window WxH; 0: full screen
    int height = 0;
    std::string record;                // --record FILE: a new file
    std::string replay;                // --replay FILE
    bool loop = false;                 // --loop, with --replay
    std::string timedemo;              // --timedemo FILE
    std::uint32_t step_us = 16667;     // --step MS, with --timedemo: demo time a frame, microseconds
    std::string capture;               // --capture DIR
    std::vector<std::string> toolkit;  // for glutInit: the program path, then the toolkit's options
};

// Reads argv into options; empty when it could, otherwise the one line to
// print on stderr before exiting with status 2 (it names what is wrong and
// points to --help).
std::string parse_options(int argc, const char* const* argv, options_t& options);

// What --help prints; `tour` is the installed tour's path.
std::string usage_text(const std::string& tour);
