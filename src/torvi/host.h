#pragma once

// The host interface through which the core reaches its user (messages,
// dialogs, progress, cancel), a host that keeps messages, and the clock of
// progress lines.

#include "host/host.h"
#include "host/message_log_host.h"
#include "util/progress_clock.h"
