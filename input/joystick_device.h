#pragma once
// One joystick as the adapter sees it: PLIB's in the program, a scripted one
// in tests.

#include <memory>

class joystick_device_t {
public:
    virtual ~joystick_device_t() = default;

    // False when the device could not be opened (or failed since); then the
    // counts below mean nothing.
    virtual bool working() const = 0;
    virtual int axis_count() const = 0;
    virtual int button_count() const = 0;

    // Writes the button bit mask to buttons[0] and one position per axis,
    // -1 .. 1, to axes[0 .. axis_count-1]; nothing through a null pointer.
    virtual void read(int* buttons, float* axes) = 0;
};

// Joystick number `number` through PLIB's js module (/dev/input/jsN).
std::unique_ptr<joystick_device_t> open_plib_joystick(int number);
