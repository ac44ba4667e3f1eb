// wire_gate_demo: construction, settings, lattice rebuild and destruction.

#include "scene/wire_gate_demo.h"

#include "framework/events.h"
#include "framework/timeline.h"
#include "scene/lattice_cost.h"

#include <iostream>
#include <string>
#include <utility>

namespace {

joystick_t open_joystick(std::unique_ptr<joystick_device_t> device) {
    return device ? joystick_t(std::move(device)) : joystick_t(0);
}

}  // namespace

wire_gate_demo::wire_gate_demo(demo_host_t& host, const env_lookup_t& lookup, std::unique_ptr<joystick_device_t> device)
    : m_joystick(open_joystick(std::move(device))), m_host(host) {
    try {
        // The scene's only event: the camera starts at the origin at time 0.
        auto start = std::make_unique<position_event_t>(libgr::pos3{0.0f, 0.0f, 0.0f});
        m_schedule.reserve(1);
        m_schedule.emplace_back(0, start.release());
        for (const event_pair_t& p : m_schedule) m_events.insert(p);
        build_fixevents_from(m_events, m_fixevents);
        m_fixidx = 0;
        print_events();

        const hall_settings_t settings = read_hall_settings(lookup, std::cerr);
        m_meshmode = settings.mode;
        m_bounding = settings.bounding;
        m_interval = settings.interval;
        m_meshfog = settings.fog;

        m_linetex.Generate();
        m_linetexobj.Create(m_linetex);
        m_linetex2.Generate();
        m_linetex2obj.Create(m_linetex2);
        m_stippletex.Generate();
        m_stippletexobj.Create(m_stippletex);
        m_tone = 0.8f;
        RebuildMesh();
        m_length = demo_open_ended;
    } catch (...) {
        // The destructor does not run for a half-built object; the events
        // are owned through raw pointers.
        for (event_pair_t& p : m_schedule) delete p.second;
        throw;
    }
}

wire_gate_demo::~wire_gate_demo() {
    for (event_pair_t& p : m_schedule) {
        delete p.second;  // virtual: the events are polymorphic
        p.second = nullptr;
    }
    m_schedule.clear();
}

void wire_gate_demo::print_events() const {
    int i = 0;
    for (const event_pair_t& p : m_events) {
        std::cout << "m_events[" << i << "] --- dump ---" << std::endl;
        std::cout << "msed: +" << p.first << std::endl;
        std::cout << "obj: " << static_cast<std::int32_t>(p.second->m_type) << std::endl;
        ++i;
    }
    std::cout << "m_fixevents.size(): " << m_fixevents.size() << std::endl;
    for (std::size_t k = 0; k < m_fixevents.size(); ++k) {
        std::cout << "m_fixevents[" << k << "] --- dump ---" << std::endl;
        dump(std::cout, m_fixevents[k]);
    }
}

void wire_gate_demo::print_settings() const {
    std::cout << "MESHMODE: " << m_meshmode << std::endl;
    std::cout << "BOUNDING: " << m_bounding << std::endl;
    std::cout << "INTERVAL: " << m_interval << std::endl;
    std::cout << "MESH_FOG: " << m_meshfog << std::endl;
}

bool wire_gate_demo::build_lattice() {
    const libgr::dir3 bounding{m_bounding, m_bounding, m_bounding};
    const libgr::dir3 interval{m_interval, m_interval, m_interval};
    if (!m_mesh.Build(bounding, interval, m_meshmode == hall_point_mode, false)) return false;
    // The list records the lattice from the mesh's rows (DrawRows): a
    // software renderer pays for every list call that draws, and the plain
    // walk makes thousands. It follows every Build. A list without a GL
    // name says so itself and draws nothing.
    DrawMesh2Rows rows(m_mesh);
    m_meshlist.Compile(&rows);
    return true;
}

std::string wire_gate_demo::lattice_problem() const {
    if (!usable_bounding(m_bounding)) return "has a bounding that is not finite";
    if (!usable_interval(m_interval)) return "has an interval that is not a finite non-zero step";
    const libgr::dir3 bounding{m_bounding, m_bounding, m_bounding};
    const libgr::dir3 interval{m_interval, m_interval, m_interval};
    return lattice_excess(lattice_cost(bounding, interval, m_meshmode == hall_point_mode));
}

void wire_gate_demo::print_lattice_problem(const std::string& problem) const {
    std::cerr << "wire_gate_demo: the lattice with mode " << m_meshmode << ", bounding " << m_bounding
              << " and interval " << m_interval << ' ' << problem;
}

void wire_gate_demo::RebuildMesh() {
    // The bounding the user chose stays; the interval widens to the smallest
    // that the lists and a frame can hold.
    const std::string problem = lattice_problem();
    if (!problem.empty() && usable_bounding(m_bounding) && usable_interval(m_interval)) {
        const float fitting = smallest_fitting_interval(m_bounding, m_interval, m_meshmode == hall_point_mode);
        print_lattice_problem(problem);
        std::cerr << "; using interval " << fitting << std::endl;
        m_interval = fitting;
    }
    build_lattice();  // Build says itself what it refuses
    // Printed after the build has answered, so it shows the values in force.
    print_settings();
}

void wire_gate_demo::rebuild_or_keep(const lattice_values_t& in_force) {
    // Values the mesh would refuse are not handed to it.
    const std::string problem = lattice_problem();
    if (!problem.empty() || !build_lattice()) {
        print_lattice_problem(problem.empty() ? "could not be recorded" : problem);
        std::cerr << "; keeping mode " << in_force.mode << ", bounding " << in_force.bounding << " and interval "
                  << in_force.interval << std::endl;
        m_meshmode = in_force.mode;
        m_bounding = in_force.bounding;
        m_interval = in_force.interval;
    }
    print_settings();
}
