// The module-wide state of the Pickwire library, set while it is attached (see pickwire.cpp).
#pragma once

#include <windows.h>

#include "config_file.h"
#include "edmax_api.h"

// The mail client's main window: owner of error boxes, carrier of the pipe timer, the window raised after a
// selection. Null until the attach has asked the client for it.
HWND PickwireMainWindow();

// The mail client's API, bound at attach.
const CEdmaxApi& PickwireHostApi();

// The settings of Pickwire.conf, read at attach.
const CConfigFile& PickwireConfig();
