#include "input/joystick_device.h"

#include <plib/js.h>

namespace {

class plib_joystick_t : public joystick_device_t {
public:
    explicit plib_joystick_t(int number) : m_js(number) {}

    // NOTE: PLIB leaves its counts unset when opening fails; ask this first.
    bool working() const override { return !m_js.notWorking(); }
    int axis_count() const override { return m_js.getNumAxes(); }
    int button_count() const override { return m_js.getNumButtons(); }
    void read(int* buttons, float* axes) override { m_js.read(buttons, axes); }

private:
    jsJoystick m_js;
};

}  // namespace

std::unique_ptr<joystick_device_t> open_plib_joystick(int number) {
    static const bool initialised = (jsInit(), true);
    (void)initialised;
    return std::make_unique<plib_joystick_t>(number);
}
