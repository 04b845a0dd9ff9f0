// Entry points that the system never calls and that the stand-in does not model: each gives the neutral failure
// value of its type (null, 0, -1) or does nothing. A few that are one line of real work do it.
#include <chrono>
#include <cmath>
#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "database.h"
#include "exports.h"
#include "platform_files.h"

using namespace estraier_standin;

namespace {
void Refuse(ESTDB* db) {
  if (db) db->ecode = kErrorMisc;
}
}  // namespace

extern "C" {

int est_db_add_attr_index(ESTDB* db, const char*, int) { return Refuse(db), 0; }
int est_db_merge(ESTDB* db, const char*, int) { return Refuse(db), 0; }
int est_db_edit_doc(ESTDB* db, ESTDOC*) { return Refuse(db), 0; }
void est_db_set_cache_size(ESTDB*, size_t, int, int, int) {}
int est_db_add_pseudo_index(ESTDB* db, const char*) { return Refuse(db), 0; }

void est_break_text(const char*, CBLIST*, int, int) {}
void est_break_text_perfng(const char*, CBLIST*, int, int) {}
void est_break_text_chrcat(const char*, CBLIST*, int) {}
char* est_str_make_snippet(const char*, const CBLIST*, int, int, int) { return nullptr; }
char* est_iconv(const char*, int, const char*, const char*, int* sp, int* mp) {
  if (sp) *sp = 0;
  if (mp) *mp = 0;
  return nullptr;
}
const char* est_enc_name(const char*, int, int) { return nullptr; }
char* est_uconv_in(const char*, int, int*) { return nullptr; }
char* est_uconv_out(const char*, int, int*) { return nullptr; }
char* est_deflate(const char*, int, int*, int) { return nullptr; }
char* est_inflate(const char*, int, int*, int) { return nullptr; }
char* est_lzoencode(const char*, int, int*) { return nullptr; }
char* est_lzodecode(const char*, int, int*) { return nullptr; }
char* est_bzencode(const char*, int, int*) { return nullptr; }
char* est_bzdecode(const char*, int, int*) { return nullptr; }
const char* est_border_str(void) { return nullptr; }
double est_random(void) { return std::rand() / (RAND_MAX + 1.0); }
double est_random_nd(void) { return 0.0; }
char* est_make_crypt(const char*) { return nullptr; }
int est_match_crypt(const char*, const char*) { return 0; }
void* est_regex_new(const char*) { return nullptr; }
void est_regex_delete(void*) {}
int est_regex_match(const void*, const char*) { return 0; }
int est_regex_match_str(const char*, const char*) { return 0; }
char* est_regex_replace(const char*, const char*, const char*) { return nullptr; }

int est_db_check_option(ESTDB*, int) { return -1; }
int est_db_inode(ESTDB*) { return -1; }
int est_db_set_doc_entity(ESTDB* db, int, const char*, int) { return Refuse(db), 0; }
char* est_db_get_doc_entity(ESTDB*, int, int* sp) {
  if (sp) *sp = 0;
  return nullptr;
}
void est_db_set_wildmax(ESTDB*, int) {}
void est_db_add_meta(ESTDB*, const char*, const char*) {}
CBLIST* est_db_meta_names(ESTDB*) { return nullptr; }
char* est_db_meta(ESTDB*, const char*) { return nullptr; }
CBMAP* est_db_etch_doc(ESTDB*, ESTDOC*, int) { return nullptr; }
int est_db_put_keywords(ESTDB* db, int, CBMAP*, double) { return Refuse(db), 0; }
int est_db_out_keywords(ESTDB* db, int) { return Refuse(db), 0; }
CBMAP* est_db_get_keywords(ESTDB*, int) { return nullptr; }
int est_db_measure_doc(ESTDB*, int, int) { return -1; }
int est_db_word_iter_init(ESTDB*) { return 0; }
char* est_db_word_iter_next(ESTDB*) { return nullptr; }
int est_db_word_rec_size(ESTDB*, const char*) { return -1; }
int est_db_keyword_num(ESTDB*) { return 0; }
int est_db_keyword_iter_init(ESTDB*) { return 0; }
char* est_db_keyword_iter_next(ESTDB*) { return nullptr; }
int est_db_keyword_rec_size(ESTDB*, const char*) { return -1; }
int* est_db_keyword_search(ESTDB*, const char*, int* nump) {
  if (nump) *nump = 0;
  return nullptr;
}
int est_db_cache_num(ESTDB*) { return 0; }
int est_db_used_cache_size(ESTDB*) { return 0; }
void est_db_set_special_cache(ESTDB*, const char*, int) {}
void est_db_fill_key_cache(ESTDB*) {}
void est_db_set_dfdb(ESTDB*, DEPOT*) {}
void est_db_refresh_rescc(ESTDB*) {}
void est_db_charge_rescc(ESTDB*, int) {}
CBLIST* est_db_list_rescc(ESTDB*) { return nullptr; }
int est_db_pseudo_doc_num(ESTDB*) { return 0; }
CBLIST* est_db_attr_index_exprs(ESTDB*) { return nullptr; }
void est_db_interrupt(ESTDB*) {}
int est_db_repair(const char*, int, int* ecp) {
  if (ecp) *ecp = kErrorMisc;
  return 0;
}
CBLIST* est_hints_to_words(CBMAP*) { return nullptr; }
void est_resmap_add(CBMAP*, const char*, int, int) {}
void est_proc_env_reset(void) {}
int est_mkdir(const char* path) { return path && MakeDirectory(path); }
int est_rmdir_rec(const char*) { return 0; }
char* est_realpath(const char*) { return nullptr; }
int est_inode(const char*) { return -1; }
int est_utime(const char*, time_t) { return 0; }
double est_gettimeofday(void) {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration<double, std::milli>(now).count();
}
void est_usleep(unsigned long usec) {
#if defined(_WIN32)
  Sleep(static_cast<DWORD>(usec / 1000));
#else
  usleep(static_cast<useconds_t>(usec));
#endif
}
void est_signal(int, EstSignalHandler) {}
int est_kill(int, int) { return 0; }
double est_memory_usage(void) { return 0.0; }
const char* est_ext_type(const char*) { return nullptr; }
void est_vector_set_seed(CBMAP*, int*, int) {}
void est_vector_set_target(CBMAP*, CBMAP*, int*, int) {}

#if !defined(ESTRAIER_STANDIN_NO_VECTOR_COSINE)
// Left out of the variant that tests a library lacking the last entry point of the binding order.
double est_vector_cosine(const int* avec, const int* bvec, int vnum) {
  if (!avec || !bvec || vnum <= 0) return 0.0;
  double dot = 0, aa = 0, bb = 0;
  for (int i = 0; i < vnum; ++i) {
    dot += static_cast<double>(avec[i]) * bvec[i];
    aa += static_cast<double>(avec[i]) * avec[i];
    bb += static_cast<double>(bvec[i]) * bvec[i];
  }
  return aa > 0 && bb > 0 ? dot / (std::sqrt(aa) * std::sqrt(bb)) : 0.0;
}
#endif

}  // extern "C"
