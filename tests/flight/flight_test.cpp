// Flight files: what is written reads back the same, every wrong line is refused with its file and line, times keep
// their order but for the time keys, a long flight streams; the joysticks of a flight.
#include "flight/flight_joystick.h"
#include "flight/flight_reader.h"
#include "flight/flight_writer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string header =
    "wire_gate flight 1\nsetting HALL_MESH_MODE 2\nsetting HALL_MESH_BOUNDING 1000\n"
    "setting HALL_MESH_INTERVAL 50\nsetting HALL_MESH_FOG 1\n";

class FlightFile : public ::testing::Test {
protected:
    void TearDown() override { fs::remove(path); }
    // The flight of `text`, checked: its error, with the path taken off the front.
    std::string check(const std::string& text, std::uint32_t* last = nullptr) {
        std::ofstream(path, std::ios::binary) << text;
        std::string error;
        check_flight(path, nullptr, last, &error);
        return error.rfind(path, 0) == 0 ? error.substr(path.size()) : error;
    }
    // One file a process: CTest runs the cases of this fixture side by side.
    const std::string path = testing::TempDir() + "wg-flight-" + std::to_string(::getpid()) + ".flight";
};

}  // namespace

TEST_F(FlightFile, WrittenEventsReadBackTheSameAndNoFlightIsOverwritten) {
    flight_header_t h;
    h.settings = {"1", "1000", "2.5", "0"};
    h.axes = 3, h.buttons = 2;
    const auto event = [](std::uint32_t msec, flight_event_t::kind_t kind, unsigned char key = 0,
                          time_key_t time_key = time_key_t::left, std::vector<float> axes = {},
                          std::uint32_t buttons = 0) {
        return flight_event_t{msec, kind, key, time_key, std::move(axes), buttons};
    };
    const std::vector<flight_event_t> events = {
        event(0, flight_event_t::press, '5'),
        event(16, flight_event_t::stick, 0, time_key_t::left, {0.1f, -1.0f, 1.0f / 3}, 2),
        event(2000, flight_event_t::release, '5'),
        event(2000, flight_event_t::press, ' '),
        event(2000, flight_event_t::time, 0, time_key_t::left),
        event(1500, flight_event_t::end),  // after the step back
    };
    {
        flight_writer_t writer;
        std::string error;
        ASSERT_TRUE(writer.create(path, h, &error)) << error;
        for (const flight_event_t& e : events) writer.write(e);
        flight_writer_t again;
        EXPECT_FALSE(again.create(path, h, &error));
        EXPECT_EQ(error, path + ": exists; a recorded flight is never overwritten");
    }
    flight_reader_t reader;
    std::string error;
    ASSERT_TRUE(reader.open(path, &error)) << error;
    EXPECT_EQ(reader.header().settings, h.settings);
    EXPECT_EQ((std::pair{reader.header().axes, reader.header().buttons}), (std::pair{3, 2}));
    for (int pass = 0; pass < 2; ++pass) {  // and again after a rewind
        flight_event_t e;
        for (const flight_event_t& want : events) {
            ASSERT_TRUE(reader.next(e, &error)) << error;
            EXPECT_EQ(format_event(e), format_event(want));
            EXPECT_EQ(e.axes, want.axes);  // to the bit
        }
        EXPECT_FALSE(reader.next(e, &error));
        EXPECT_EQ(error, "");
        ASSERT_TRUE(reader.rewind(&error));
    }
    EXPECT_EQ(format_event(events[1]), "16 stick 0.1 -1 0.33333334 buttons 2");
}

TEST_F(FlightFile, EveryWrongLineIsRefusedWithItsLine) {
    const std::string stick = header + "stick 2 1\n";
    const std::tuple<std::string, std::string> cases[] = {
        // the file's text, the error after its path
        {"", ":1: not a flight: the first line is \"wire_gate flight 1\""},
        {"wire_gate flight 2\n", ":1: flight version \"2\" is not known; this program reads version 1"},
        {"wire_gate flight 1\nsetting HALL_MESH_BOUNDING 1000\n", ":2: expected \"setting HALL_MESH_MODE <value>\""},
        {"wire_gate flight 1\nsetting HALL_MESH_MODE 3\n", ":2: setting HALL_MESH_MODE is 0, 1 or 2"},
        {"wire_gate flight 1\nsetting HALL_MESH_MODE 2\nsetting HALL_MESH_BOUNDING 1e39\n",
         ":3: setting HALL_MESH_BOUNDING is a finite decimal number"},
        {"wire_gate flight 1\nsetting HALL_MESH_MODE 2\n", ":2: the flight ends before its setting HALL_MESH_BOUNDING"},
        {header + "stick 17 1\n", ":6: a stick line gives its axes (0 to 16) and buttons (0 to 32)"},
        {header + "# fine\n\n0 jump\n", ":8: unknown event \"jump\""},
        {header + "-1 end\n", ":6: \"-1\" is not a time: a whole number of ms from 0 to 4294967295"},
        {header + "4294967296 end\n", ":6: \"4294967296\" is not a time: a whole number of ms from 0 to 4294967295"},
        {header + "0x10 end\n", ":6: \"0x10\" is not a time: a whole number of ms from 0 to 4294967295"},
        {header + "5\n", ":6: a time without an event"},
        {header + "5 press q\n", ":6: \"q\" is not a key a flight holds"},
        {header + "5 release L\n", ":6: only a thruster key (0-6, 8) is released"},
        {header + "5 time back\n", ":6: a time key is left, right, up or down"},
        {header + "5 end now\n", ":6: unexpected \"now\" after the event"},
        {header + "5 stick 0 0 buttons 0\n", ":6: a stick reading in a flight without a stick line"},
        {stick + "5 stick 0 1.5 buttons 0\n", ":7: axis 1 of 2 is not a number from -1 to 1"},
        {stick + "5 stick 0 nan buttons 0\n", ":7: axis 1 of 2 is not a number from -1 to 1"},
        {stick + "5 stick 0 0 buttons 2\n", ":7: the axes are followed by \"buttons\" and a bit mask below 2^1"},
        {stick + "5 stick 0 0\n", ":7: the axes are followed by \"buttons\" and a bit mask below 2^1"},
        {header + "9 end\n10 press 5\n", ":7: nothing follows the end event"},
        {header + "900 press 5\n800 release 5\n",
         ":7: time 800 comes before 900: times never run backwards but where a time key stepped the demo clock back"},
        {header + "5 press 5\n" + std::string(5000, '#') + "\n", ":7: a line longer than 4096 characters"},
        {header + std::string("5 end\0\n", 7), ":6: a NUL character"},
    };
    for (const auto& [text, error] : cases) EXPECT_EQ(check(text), error) << text;
    const std::string missing = (fs::temp_directory_path() / "wg-no-such.flight").string();
    std::string error;
    EXPECT_FALSE(check_flight(missing, nullptr, nullptr, &error));
    EXPECT_EQ(error.rfind(missing + ": cannot read the flight: ", 0), 0u) << error;
}

// The scene's time for keys, the clock's before its step for a time key: a step back lowers the floor, a key pressed
// after a step forward before the next update still acts at the scene's time, the clock may wrap.
TEST_F(FlightFile, TimesRunBackOnlyWhereATimeKeySteppedTheClock) {
    const std::tuple<std::string, bool> flights[] = {
        {"1000 time left\n0 press 5\n", true},
        {"1000 time left\n1000 time left\n0 press 5\n", true},  // an update at 1000 came between the steps
        {"1000 time left\n1000 press 5\n999 press 0\n", false},
        {"1000 press 5\n1000 time right\n2000 time right\n1000 release 5\n3000 press 0\n", true},
        {"1000 press 5\n1000 time right\n999 release 5\n", false},
        {"400 press 5\n400 time up\n300 release 5\n", true},
        {"400 press 5\n400 time up\n299 release 5\n", false},
        {"400 time left\n4294966696 press 5\n4294967000 press 0\n10 end\n", true},  // the clock wraps on
    };
    std::uint32_t last = 0;
    for (const auto& [events, right] : flights) EXPECT_EQ(check(header + events, &last).empty(), right) << events;
    EXPECT_EQ(last, 10u);
}

TEST_F(FlightFile, AMillionLinesStreamInLinearTime) {
    const auto seconds = [&](int lines) {
        std::string text = header;
        for (int i = 0; i < lines; ++i) text += std::to_string(i) + (i % 2 ? " release 5\n" : " press 5\n");
        const auto t0 = std::chrono::steady_clock::now();
        EXPECT_EQ(check(text), "");
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    };
    const double tenth = seconds(100000), whole = seconds(1000000);
    EXPECT_LT(whole, 30 * tenth + 0.5) << tenth << " s for 100000 lines, " << whole << " s for 1000000";
}

TEST(FlightJoystick, TheRecordingOneToldOfChangesOnlyTheReplayedOneReadsAsSet) {
    struct stick_t : joystick_device_t {
        float x = 0;
        int mask = 0;
        bool working() const override { return true; }
        int axis_count() const override { return 1; }
        int button_count() const override { return 1; }
        void read(int* b, float* a) override { *b = mask, *a = x; }
    };
    auto device = std::make_unique<stick_t>();
    stick_t& stick = *device;
    std::vector<std::pair<float, std::uint32_t>> told;
    recording_joystick_t recording(std::move(device),
                                   [&](const std::vector<float>& a, std::uint32_t b) { told.emplace_back(a[0], b); });
    int mask = 0;
    float x = 0;
    for (const auto& [at, down] : {std::pair{0.0f, 0}, {0.5f, 0}, {0.5f, 0}, {0.5f, 1}, {-1.0f, 1}}) {
        stick.x = at, stick.mask = down;
        recording.read(&mask, &x);
        EXPECT_EQ((std::pair{x, mask}), (std::pair{at, down}));
    }
    EXPECT_EQ(told, (std::vector<std::pair<float, std::uint32_t>>{{0.5f, 0}, {0.5f, 1}, {-1.0f, 1}}));

    replayed_joystick_t replayed(2, 3);
    float axes[2] = {9, 9};
    replayed.set({0.25f, -0.75f}, 5);
    replayed.read(&mask, axes);
    EXPECT_TRUE(replayed.working());
    EXPECT_EQ((std::tuple{axes[0], axes[1], mask}), (std::tuple{0.25f, -0.75f, 5}));
}
