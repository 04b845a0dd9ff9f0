#include "dialog_template.h"

#include <cstring>
#include <vector>

namespace {

struct TemplateInfo {
  unsigned id;
  std::wstring caption;
};

// Skips a "sz_Or_Ord" field of a dialog template: 0 (none), 0xFFFF plus an ordinal, or a NUL-terminated text.
const WORD* SkipSzOrOrd(const WORD* p, const WORD* end) {
  if (p >= end) return end;
  if (*p == 0) return p + 1;
  if (*p == 0xFFFF) return p + 2;
  while (p < end && *p != 0) ++p;
  return p < end ? p + 1 : end;
}

// The caption of a DLGTEMPLATE or DLGTEMPLATEEX resource.
std::wstring TemplateCaption(const BYTE* data, DWORD size) {
  const auto* end = reinterpret_cast<const WORD*>(data + size);
  const WORD* p;
  const bool extended = size >= 4 && reinterpret_cast<const WORD*>(data)[0] == 1 &&
                        reinterpret_cast<const WORD*>(data)[1] == 0xFFFF;
  // DLGTEMPLATEEX: version, signature, help id, extended style, style, item count, x, y, cx, cy (26 bytes);
  // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy (18 bytes).
  const DWORD fixed = extended ? 26 : 18;
  if (size < fixed) return {};
  p = reinterpret_cast<const WORD*>(data + fixed);
  p = SkipSzOrOrd(p, end);  // menu
  p = SkipSzOrOrd(p, end);  // window class
  std::wstring caption;
  while (p < end && *p != 0) caption += static_cast<wchar_t>(*p++);
  return caption;
}

BOOL CALLBACK CollectTemplate(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  auto* found = reinterpret_cast<std::vector<TemplateInfo>*>(param);
  if (!IS_INTRESOURCE(name)) return TRUE;  // named templates are not used by plug-ins here
  HRSRC resource = FindResourceW(module, name, type);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return TRUE;
  found->push_back({static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)),
                    TemplateCaption(static_cast<const BYTE*>(data), SizeofResource(module, resource))});
  return TRUE;
}

}  // namespace

std::optional<unsigned> FindDialogTemplate(HMODULE module, const std::wstring& caption) {
  std::vector<TemplateInfo> templates;
  EnumResourceNamesW(module, reinterpret_cast<LPCWSTR>(RT_DIALOG), CollectTemplate,
                     reinterpret_cast<LONG_PTR>(&templates));
  for (const TemplateInfo& info : templates) {
    if (info.caption == caption) return info.id;
  }
  if (templates.size() == 1) return templates.front().id;
  return std::nullopt;
}
