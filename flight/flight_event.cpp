#include "flight/flight_event.h"

#include <cstring>

std::int32_t time_key_step(time_key_t key) {
    switch (key) {
    case time_key_t::left: return -1000;
    case time_key_t::right: return 1000;
    case time_key_t::up: return -100;
    case time_key_t::down: return 100;
    }
    return 0;
}

bool is_thruster_key(unsigned char key) { return key != 0 && std::strchr("01234568", key) != nullptr; }

bool is_flight_key(unsigned char key) { return key != 0 && std::strchr("01234568-./\\Llp[]{}io ", key) != nullptr; }
