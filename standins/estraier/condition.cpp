// Condition entry points: a search condition is a phrase, attribute expressions, an order and a window.
#include "condition.h"

#include <new>

#include "exports.h"
#include "utf8_text.h"

using namespace estraier_standin;

namespace {
const char* OptionalText(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }
}  // namespace

extern "C" {

ESTCOND* est_cond_new(void) { return new (std::nothrow) ESTCOND; }

void est_cond_delete(ESTCOND* cond) { delete cond; }

void est_cond_set_phrase(ESTCOND* cond, const char* phrase) {
  if (cond && phrase) cond->phrase = phrase;  // normalised when it is matched
}

void est_cond_add_attr(ESTCOND* cond, const char* expr) {
  if (!cond || !expr) return;
  std::string normalized = NormalizeAttributeValue(expr);
  if (!normalized.empty()) cond->attrs.items.push_back(std::move(normalized));
}

void est_cond_set_order(ESTCOND* cond, const char* expr) {
  if (cond && expr) cond->order = NormalizeAttributeValue(expr);
}

void est_cond_set_max(ESTCOND* cond, int max) {
  if (cond) cond->max = max;
}

void est_cond_set_skip(ESTCOND* cond, int skip) {
  if (cond) cond->skip = skip < 0 ? 0 : skip;
}

void est_cond_set_options(ESTCOND* cond, int options) {
  if (cond) cond->options |= options;
}

void est_cond_set_auxiliary(ESTCOND* cond, int min) {
  if (cond) cond->auxiliary = min;
}

void est_cond_set_eclipse(ESTCOND*, double) {}  // similarity eclipse is not modelled

void est_cond_set_distinct(ESTCOND* cond, const char* name) {
  if (cond && name) cond->distinct = name;
}

void est_cond_set_mask(ESTCOND* cond, int mask) {
  if (cond) cond->mask = mask;
}

ESTCOND* est_cond_dup(ESTCOND* cond) { return cond ? new (std::nothrow) ESTCOND(*cond) : nullptr; }

const char* est_cond_phrase(ESTCOND* cond) { return cond ? OptionalText(cond->phrase) : nullptr; }

const CBLIST* est_cond_attrs(ESTCOND* cond) { return cond && !cond->attrs.items.empty() ? &cond->attrs : nullptr; }

const char* est_cond_order(ESTCOND* cond) { return cond ? OptionalText(cond->order) : nullptr; }

int est_cond_max(ESTCOND* cond) { return cond ? cond->max : -1; }

int est_cond_skip(ESTCOND* cond) { return cond ? cond->skip : 0; }

int est_cond_options(ESTCOND* cond) { return cond ? cond->options : 0; }

int est_cond_auxiliary(ESTCOND* cond) { return cond ? cond->auxiliary : 0; }

const char* est_cond_distinct(ESTCOND* cond) { return cond ? OptionalText(cond->distinct) : nullptr; }

int est_cond_mask(ESTCOND* cond) { return cond ? cond->mask : 0; }

int est_cond_score(ESTCOND* cond, int index) {
  if (!cond || index < 0 || static_cast<size_t>(index) >= cond->scores.size()) return -1;
  return cond->scores[index];
}

const int* est_cond_scores(ESTCOND* cond, int* nump) {
  if (!cond) return nullptr;
  if (nump) *nump = static_cast<int>(cond->scores.size());
  return cond->scores.data();
}

void est_cond_set_narrowing_scores(ESTCOND*, const int*, int) {}

int est_cond_auxiliary_word(ESTCOND*, const char*) { return 0; }

const int* est_cond_shadows(ESTCOND*, int, int* np) {
  if (np) *np = 0;
  return nullptr;
}

void est_cond_set_expander(ESTCOND*, EstExpanderFunc) {}

}  // extern "C"
