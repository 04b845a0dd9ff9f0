// Owners of the full-text library's documents and search conditions: each is deleted through the bound table on
// every way out of the scope that created it, exceptions included.
#pragma once

#include "estraier_api.h"

template <typename Object, auto Delete>
class CEstraierObject {
 public:
  // Takes over object (may be null).
  CEstraierObject(const CEstraierApi& api, Object* object) : m_api(api), m_object(object) {}
  ~CEstraierObject() {
    if (m_object) (m_api.*Delete)(m_object);
  }
  CEstraierObject(const CEstraierObject&) = delete;
  CEstraierObject& operator=(const CEstraierObject&) = delete;

  Object* Get() const { return m_object; }

 private:
  const CEstraierApi& m_api;
  Object* m_object;
};

using CEstDocument = CEstraierObject<ESTDOC, &CEstraierApi::est_doc_delete>;
using CEstCondition = CEstraierObject<ESTCOND, &CEstraierApi::est_cond_delete>;
