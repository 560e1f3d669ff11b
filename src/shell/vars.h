// vars: the state words of the program that every module of the shell and above reads (the g_ names).
#pragma once

#include <cstdint>

// Where the program stands: keys, menu commands, the idle chain and the recovery timer act only while it
// runs.
enum AppRunState : int32_t {
    APP_STARTING = 0,
    APP_RUNNING = 1,
    APP_CLOSING = 2,
};
extern int32_t g_appRunState;

// Application flags: switches read at start-up and facts of this run. Start-up reads the others from the
// registry.
enum AppFlags : uint32_t {
    APP_ALERTS_SUPPRESSED = 1u << 7, // "-ub": alert boxes stay silent for the run
    APP_FIRST_INSTANCE = 1u << 10,   // this instance made the instance semaphore
};
extern uint32_t g_appFlags;
