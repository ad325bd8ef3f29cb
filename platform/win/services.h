#pragma once
// Win32 implementations of the core's service interfaces, one file each.
#include "platform/win/win_app_control.h"
#include "platform/win/win_clock.h"
#include "platform/win/win_dialogs.h"
#include "platform/win/win_files.h"
#include "platform/win/win_locale.h"
#include "platform/win/win_timers.h"
