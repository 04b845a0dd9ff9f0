// Finds which dialog template of a module a new dialog window was made from.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The numeric id of the module's RT_DIALOG resource whose caption is caption; when the module has exactly one
// dialog template, that one. Nothing when no template fits.
std::optional<unsigned> FindDialogTemplate(HMODULE module, const std::wstring& caption);
