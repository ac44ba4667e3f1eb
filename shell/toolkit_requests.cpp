#include "shell/toolkit_requests.h"

#include <GL/freeglut.h>

namespace {

void toolkit_post_redisplay() { glutPostRedisplay(); }

void toolkit_set_idle(idle_callback_t callback) { glutIdleFunc(callback); }

toolkit_requests_t s_requests = {toolkit_post_redisplay, toolkit_set_idle};

}  // namespace

void request_redisplay() { s_requests.post_redisplay(); }

void set_idle_callback(idle_callback_t callback) { s_requests.set_idle(callback); }

toolkit_requests_t set_toolkit_requests(const toolkit_requests_t& requests) {
    const toolkit_requests_t previous = s_requests;
    s_requests.post_redisplay = requests.post_redisplay != nullptr ? requests.post_redisplay : toolkit_post_redisplay;
    s_requests.set_idle = requests.set_idle != nullptr ? requests.set_idle : toolkit_set_idle;
    return previous;
}
