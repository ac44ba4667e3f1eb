#include "shell/options.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

// The toolkit's options, and whether each takes a value.
const struct {
    const char* name;
    bool value;
} toolkit_options[] = {{"-display", true},   {"-geometry", true}, {"-iconic", false}, {"-direct", false},
                       {"-indirect", false}, {"-gldebug", false}, {"-sync", false}};

std::string problem(const std::string& what) { return "wire_gate: " + what + "; see 'wire_gate --help'"; }

bool dimension(const std::string& text, int& out) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::atoi(text.c_str());
    return out >= 1 && out <= 16384;
}

bool window_size(const std::string& text, options_t& o) {
    const std::size_t x = text.find('x');
    return x != std::string::npos && dimension(text.substr(0, x), o.width) && dimension(text.substr(x + 1), o.height);
}

bool step(const std::string& text, options_t& o) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    const double ms = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(ms > 0.0) || ms > 60000.0 || std::llround(ms * 1000.0) < 1) return false;
    o.step_us = static_cast<std::uint32_t>(std::llround(ms * 1000.0));
    return true;
}

}  // namespace

std::string parse_options(int argc, const char* const* argv, options_t& o) {
    o = options_t{};
    o.toolkit.push_back(argc > 0 && argv[0] != nullptr ? argv[0] : "wire_gate");
    bool step_given = false;
    // Ours, by name: whether it takes a value, and what it does with it.
    using take_t = std::function<bool(const std::string&)>;
    const struct {
        const char* name;
        bool value;
        take_t take;
        const char* bad;  // what a wrong value should be
    } ours[] = {
        {"--help", false, [&](const std::string&) { return o.help = true; }, ""},
        {"-h", false, [&](const std::string&) { return o.help = true; }, ""},
        {"--version", false, [&](const std::string&) { return o.version = true; }, ""},
        {"--window", true, [&](const std::string& v) { return window_size(v, o); }, "WxH, each 1 to 16384"},
        {"--record", true, [&](const std::string& v) { return !(o.record = v).empty(); }, "a file name"},
        {"--replay", true, [&](const std::string& v) { return !(o.replay = v).empty(); }, "a file name"},
        {"--loop", false, [&](const std::string&) { return o.loop = true; }, ""},
        {"--timedemo", true, [&](const std::string& v) { return !(o.timedemo = v).empty(); }, "a file name"},
        {"--step", true, [&](const std::string& v) { return step_given = step(v, o); }, "ms above 0, at most 60000"},
        {"--capture", true, [&](const std::string& v) { return !(o.capture = v).empty(); }, "a folder name"},
    };
    std::vector<std::string> seen;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        bool known = false;
        for (const auto& t : toolkit_options) {
            if (arg != t.name) continue;
            known = true;
            o.toolkit.push_back(arg);
            if (t.value) {
                if (i + 1 >= argc) return problem("option '" + arg + "' needs a value");
                o.toolkit.push_back(argv[++i]);
            }
        }
        for (const auto& ours_one : ours) {
            if (name != ours_one.name) continue;
            known = true;
            for (const std::string& s : seen)
                if (s == name) return problem("option '" + name + "' is given twice");
            seen.push_back(name);
            std::string value;
            if (ours_one.value) {
                if (equals != std::string::npos)
                    value = arg.substr(equals + 1);
                else if (i + 1 < argc)
                    value = argv[++i];
                else
                    return problem("option '" + name + "' needs a value (" + ours_one.bad + ")");
            } else if (equals != std::string::npos) {
                return problem("option '" + name + "' takes no value");
            }
            if (!ours_one.take(value))
                return problem("'" + value + "' is not a value for " + name + ": " + ours_one.bad);
        }
        if (!known && arg.size() > 1 && arg[0] == '-') return problem("unknown option '" + arg + "'");
        if (!known) o.toolkit.push_back(arg);  // not an option: the toolkit's to ignore
    }
    if (o.help || o.version) return "";
    if (!o.replay.empty() && !o.timedemo.empty()) return problem("--replay and --timedemo play one flight each");
    if (!o.record.empty() && (!o.replay.empty() || !o.timedemo.empty()))
        return problem("--record flies live; it does not go with --replay or --timedemo");
    if (o.loop && o.replay.empty()) return problem("--loop goes with --replay");
    if (step_given && o.timedemo.empty()) return problem("--step goes with --timedemo");
    return "";
}

std::string usage_text(const std::string& tour) {
    return "usage: wire_gate [options] [toolkit options]\n"
           "Flies a camera through a lattice hall in a full-screen OpenGL window.\n"
           "\n"
           "  -h, --help          this text\n"
           "      --version       the program's name and version\n"
           "      --window WxH    a window of W by H pixels instead of full screen\n"
           "      --record FILE   write the flight to FILE, a new file, while flying\n"
           "      --replay FILE   fly FILE's events at their demo times; the keys still work, q quits\n"
           "      --loop          with --replay: start the flight over at its end\n"
           "      --timedemo FILE play FILE a fixed step a frame as fast as GL draws, print the frame times\n"
           "      --step MS       with --timedemo: the demo time a frame (default 16.667)\n"
           "      --capture DIR   write every frame drawn as DIR/frame-000001.png, ...\n"
           "\n"
           "Toolkit options: -display NAME, -geometry WxH+X+Y, -iconic, -direct, -indirect, -gldebug, -sync.\n"
           "Settings: HALL_MESH_MODE, HALL_MESH_BOUNDING, HALL_MESH_INTERVAL, HALL_MESH_FOG (wire_gate(6)).\n"
           "A flight to watch: wire_gate --replay " +
           tour + " --loop\n";
}
