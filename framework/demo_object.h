#pragma once
// The interface of everything the shell animates: a drawable with a place and
// a length on a millisecond time line, told when time advances, when the
// window changes size and when keys are pressed.

#include <cstdint>

// Demo time is unsigned 32-bit milliseconds; this value means "not placed yet"
// for an offset and "open-ended" for a length.
constexpr std::uint32_t demo_unplaced = 0xFFFFFFFFu;
constexpr std::uint32_t demo_open_ended = 0xFFFFFFFFu;

class demo_object_t {
public:
    demo_object_t() = default;
    virtual ~demo_object_t();

    // Objects are owned through pointers by a holder; copying one would
    // duplicate ownership of whatever it holds.
    demo_object_t(const demo_object_t&) = delete;
    demo_object_t& operator=(const demo_object_t&) = delete;

    virtual void draw() = 0;
    virtual void draw_overlay();
    // msec: local time since m_offset; returns whether the object goes on.
    virtual bool update(std::uint32_t msec);
    virtual std::uint32_t calc_length();
    // width, height: window size in pixels.
    virtual void reshape(int width, int height);
    // key: the toolkit's character; x, y: mouse position. True = consumed.
    virtual bool key_down(unsigned char key, int x, int y);
    virtual bool key_up(unsigned char key, int x, int y);
    // key: the toolkit's special-key code. True = consumed.
    virtual bool special_down(int key, int x, int y);
    virtual bool special_up(int key, int x, int y);

    // True while the local time is below the length (unsigned), so an
    // open-ended object runs at every time but 0xFFFFFFFF.
    bool running() const { return m_time < m_length; }

    std::uint32_t m_offset = demo_unplaced;  // start on the parent's time line, ms
    std::uint32_t m_length = 0;              // ms; demo_open_ended = no end
    std::uint32_t m_time = 0;                // local time of the last update, ms
};
