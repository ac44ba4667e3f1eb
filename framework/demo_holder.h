#pragma once
// A demo object that owns other demo objects, lays them out one after another
// on its time line and forwards every call to those whose turn it is.

#include "framework/demo_object.h"

#include <vector>

class demo_object_holder_t : public demo_object_t {
public:
    demo_object_holder_t() = default;
    ~demo_object_holder_t() override;

    // Takes ownership of a heap-allocated object, appended after the others.
    // A null pointer or one the holder already owns is refused with a line on
    // stderr: either would break the delete-once ownership.
    void add(demo_object_t* object);
    // Deletes every object once; offset, length and time stay as they are.
    void clear();

    void draw() override;
    void draw_overlay() override;
    bool update(std::uint32_t msec) override;
    std::uint32_t calc_length() override;
    void reshape(int width, int height) override;
    bool key_down(unsigned char key, int x, int y) override;
    bool key_up(unsigned char key, int x, int y) override;
    bool special_down(int key, int x, int y) override;
    bool special_up(int key, int x, int y) override;

    const std::vector<demo_object_t*>& objects() const { return m_objects; }
    // The object that last received reshape from this holder; keys go to it.
    demo_object_t* current() const { return m_current; }

private:
    // Makes the object current, reshaping it to the holder's size first if it
    // was not, so it always draws for the window it was last told about.
    void make_current(demo_object_t* object);

    std::vector<demo_object_t*> m_objects;  // owned, non-null, insertion order
    demo_object_t* m_current = nullptr;     // null or one of m_objects
    int m_width = 0;                        // size of the last reshape, pixels
    int m_height = 0;
};
