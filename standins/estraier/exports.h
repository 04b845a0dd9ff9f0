// The 153 entry points that the stand-in library exports, declared from the same list that the plug-in binds, so
// that every definition here is checked against the types the plug-in calls them with.
#pragma once

#include "estraier_api.h"

#if defined(_WIN32)
#define ESTRAIER_STANDIN_EXPORT __declspec(dllexport)
#else
#define ESTRAIER_STANDIN_EXPORT __attribute__((visibility("default")))
#endif

#define ESTRAIER_STANDIN_DECLARE(name, ret, params) extern "C" ESTRAIER_STANDIN_EXPORT ret ESTRAIER_CALL name params;
ESTRAIER_ENTRY_POINTS(ESTRAIER_STANDIN_DECLARE)
#undef ESTRAIER_STANDIN_DECLARE

// Error codes of the library.
namespace estraier_standin {
constexpr int kErrorNone = 0;
constexpr int kErrorInvalid = 1;
constexpr int kErrorAccess = 2;
constexpr int kErrorLock = 3;
constexpr int kErrorDatabase = 4;
constexpr int kErrorIo = 5;
constexpr int kErrorNoItem = 6;
constexpr int kErrorMisc = 9999;
}  // namespace estraier_standin
