#pragma once
// The event delta list: events ordered by time, each element's msec stored
// relative to the element before it (the first relative to 0). The absolute
// time of element k is the sum of the stored msecs of elements 0..k. The list
// does not own the events.

#include <cstddef>
#include <cstdint>
#include <list>
#include <utility>

class event_t;

using event_pair_t = std::pair<std::int32_t, event_t*>;  // (msec, event)

class event_list_t {
public:
    using container_type = std::list<event_pair_t>;
    using const_iterator = container_type::const_iterator;

    // Inserts a copy of p at its absolute time p.first, after any elements
    // with the same time, keeping the later elements' absolute times.
    // Returns how many elements it passed over (its index in the list).
    std::size_t insert(const event_pair_t& p);

    const_iterator begin() const { return m_list.begin(); }
    const_iterator end() const { return m_list.end(); }
    std::size_t size() const { return m_list.size(); }
    bool empty() const { return m_list.empty(); }
    void clear() { m_list.clear(); }

private:
    container_type m_list;
};
