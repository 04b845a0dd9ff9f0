// An open database of the stand-in library.
#pragma once

#include <memory>
#include <string>

#include "document_store.h"
#include "estraier_api.h"

struct ESTDB {
  std::string name;  // as given to est_db_open
  std::unique_ptr<estraier_standin::DocumentStore> store;
  int ecode = 0;
  EstInformerFunc informer = nullptr;
  void* informerOpaque = nullptr;
  int iteratorId = 0;  // the id est_db_iter_next returned last
};
