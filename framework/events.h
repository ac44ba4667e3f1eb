#pragma once
// Timed events that set parts of the kinematic state (event_coords_t).
// Events are heap objects deleted through event_t's virtual destructor; the
// scene's schedule owns them, the delta list only points at them.

#include <cstdint>

#include "graphics/values.h"

struct event_coords_t;

// Event kind codes, fixed by each derived class's constructor.
enum : std::uint32_t {
    event_position = 0,    // base position
    event_speed = 1,       // linear velocity (body axes)
    event_accel = 2,       // linear acceleration (body axes)
    event_posture = 3,     // base posture
    event_rotation = 4,    // angular velocity (rotation vector per second)
    event_revolution = 5,  // angular acceleration
};

class event_t {
public:
    virtual ~event_t();
    std::uint32_t m_type;

protected:
    explicit event_t(std::uint32_t type) : m_type(type) {}
    event_t(const event_t&) = default;
    event_t& operator=(const event_t&) = default;
};

class position_event_t : public event_t {
public:
    explicit position_event_t(const libgr::pos3& value) : event_t(event_position), m_value(value) {}
    libgr::pos3 m_value;
};

class speed_event_t : public event_t {
public:
    explicit speed_event_t(const libgr::pos3& value) : event_t(event_speed), m_value(value) {}
    libgr::pos3 m_value;
};

class accel_event_t : public event_t {
public:
    explicit accel_event_t(const libgr::pos3& value) : event_t(event_accel), m_value(value) {}
    libgr::pos3 m_value;
};

class posture_event_t : public event_t {
public:
    explicit posture_event_t(const libgr::rev3& value) : event_t(event_posture), m_value(value) {}
    libgr::rev3 m_value;
};

class rotation_event_t : public event_t {
public:
    explicit rotation_event_t(const libgr::rev3& value) : event_t(event_rotation), m_value(value) {}
    libgr::rev3 m_value;
};

class revolution_event_t : public event_t {
public:
    explicit revolution_event_t(const libgr::rev3& value) : event_t(event_revolution), m_value(value) {}
    libgr::rev3 m_value;
};

// Sets the part of c that e's kind names (rotations also set the undoing
// rotation to -value). Codes above 5 change nothing.
void apply_event(const event_t& e, event_coords_t& c);
