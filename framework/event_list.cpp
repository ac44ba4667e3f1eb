#include "framework/event_list.h"

std::size_t event_list_t::insert(const event_pair_t& p) {
    event_pair_t rel = p;
    std::size_t passed = 0;
    auto it = m_list.begin();
    while (it != m_list.end() && it->first <= rel.first) {
        rel.first -= it->first;
        ++it;
        ++passed;
    }
    // The element we stop at now follows rel: keep its absolute time.
    if (rel.first != 0 && it != m_list.end()) it->first -= rel.first;
    m_list.insert(it, rel);
    return passed;
}
