// The full-text library's entry points, bound by name at run time into one table.
#pragma once

#include <cstddef>
#include <ctime>

// Objects of the full-text library: opaque, handled only through pointers.
struct ESTDOC;
struct ESTCOND;
struct ESTDB;
struct CBMAP;
struct CBLIST;
struct DEPOT;

// The library's functions use the C calling convention on every platform.
#if defined(_WIN32)
#define ESTRAIER_CALL __cdecl
#else
#define ESTRAIER_CALL
#endif

// Open modes of est_db_open and options of est_db_put_doc / est_db_out_doc.
constexpr int ESTDBREADER = 1 << 0;
constexpr int ESTDBWRITER = 1 << 1;
constexpr int ESTDBCREAT = 1 << 2;
constexpr int ESTDBLARGE = 1 << 21;
constexpr int ESTPDCLEAN = 1 << 0;
constexpr int ESTODCLEAN = 1 << 0;

// Callback types taken by some entry points.
using EstInformerFunc = void(ESTRAIER_CALL*)(const char* message, void* opaque);
using EstExpanderFunc = void(ESTRAIER_CALL*)(const char* word, CBLIST* list);
using EstSignalHandler = void(ESTRAIER_CALL*)(int signum);

// The 153 entry points in binding order: X(name, return type, parameter list). This list is the one place that
// gives their order and their types; the table's fields and the binding loop are both generated from it.
#define ESTRAIER_ENTRY_POINTS(X)                                                                       \
  X(est_doc_new, ESTDOC*, (void))                                                                      \
  X(est_doc_new_from_draft, ESTDOC*, (const char* draft))                                              \
  X(est_doc_delete, void, (ESTDOC * doc))                                                              \
  X(est_doc_add_attr, void, (ESTDOC * doc, const char* name, const char* value))                       \
  X(est_doc_add_text, void, (ESTDOC * doc, const char* text))                                          \
  X(est_doc_add_hidden_text, void, (ESTDOC * doc, const char* text))                                   \
  X(est_doc_set_keywords, void, (ESTDOC * doc, CBMAP * kwords))                                        \
  X(est_doc_set_score, void, (ESTDOC * doc, int score))                                                \
  X(est_doc_id, int, (ESTDOC * doc))                                                                   \
  X(est_doc_attr_names, CBLIST*, (ESTDOC * doc))                                                       \
  X(est_doc_attr, const char*, (ESTDOC * doc, const char* name))                                       \
  X(est_doc_texts, const CBLIST*, (ESTDOC * doc))                                                      \
  X(est_doc_cat_texts, char*, (ESTDOC * doc))                                                          \
  X(est_doc_keywords, CBMAP*, (ESTDOC * doc))                                                          \
  X(est_doc_score, int, (ESTDOC * doc))                                                                \
  X(est_doc_dump_draft, char*, (ESTDOC * doc))                                                         \
  X(est_doc_make_snippet, char*, (ESTDOC * doc, const CBLIST* words, int wwidth, int hwidth, int awidth)) \
  X(est_cond_new, ESTCOND*, (void))                                                                    \
  X(est_cond_delete, void, (ESTCOND * cond))                                                           \
  X(est_cond_set_phrase, void, (ESTCOND * cond, const char* phrase))                                   \
  X(est_cond_add_attr, void, (ESTCOND * cond, const char* expr))                                       \
  X(est_cond_set_order, void, (ESTCOND * cond, const char* expr))                                      \
  X(est_cond_set_max, void, (ESTCOND * cond, int max))                                                 \
  X(est_cond_set_skip, void, (ESTCOND * cond, int skip))                                               \
  X(est_cond_set_options, void, (ESTCOND * cond, int options))                                         \
  X(est_cond_set_auxiliary, void, (ESTCOND * cond, int min))                                           \
  X(est_cond_set_eclipse, void, (ESTCOND * cond, double limit))                                        \
  X(est_cond_set_distinct, void, (ESTCOND * cond, const char* name))                                   \
  X(est_cond_set_mask, void, (ESTCOND * cond, int mask))                                               \
  X(est_err_msg, const char*, (int ecode))                                                             \
  X(est_db_open, ESTDB*, (const char* name, int omode, int* ecp))                                      \
  X(est_db_close, int, (ESTDB * db, int* ecp))                                                         \
  X(est_db_error, int, (ESTDB * db))                                                                   \
  X(est_db_fatal, int, (ESTDB * db))                                                                   \
  X(est_db_add_attr_index, int, (ESTDB * db, const char* name, int type))                              \
  X(est_db_flush, int, (ESTDB * db, int max))                                                          \
  X(est_db_sync, int, (ESTDB * db))                                                                    \
  X(est_db_optimize, int, (ESTDB * db, int options))                                                   \
  X(est_db_merge, int, (ESTDB * db, const char* name, int options))                                    \
  X(est_db_put_doc, int, (ESTDB * db, ESTDOC * doc, int options))                                      \
  X(est_db_out_doc, int, (ESTDB * db, int id, int options))                                            \
  X(est_db_edit_doc, int, (ESTDB * db, ESTDOC * doc))                                                  \
  X(est_db_get_doc, ESTDOC*, (ESTDB * db, int id, int options))                                        \
  X(est_db_get_doc_attr, char*, (ESTDB * db, int id, const char* name))                                \
  X(est_db_uri_to_id, int, (ESTDB * db, const char* uri))                                              \
  X(est_db_name, const char*, (ESTDB * db))                                                            \
  X(est_db_doc_num, int, (ESTDB * db))                                                                 \
  X(est_db_word_num, int, (ESTDB * db))                                                                \
  X(est_db_size, double, (ESTDB * db))                                                                 \
  X(est_db_search, int*, (ESTDB * db, ESTCOND * cond, int* nump, CBMAP* hints))                        \
  X(est_db_search_meta, int*, (ESTDB * *dbs, int dbnum, ESTCOND* cond, int* nump, CBMAP* hints))       \
  X(est_db_scan_doc, int, (ESTDB * db, ESTDOC * doc, ESTCOND * cond))                                  \
  X(est_db_set_cache_size, void, (ESTDB * db, size_t size, int anum, int tnum, int rnum))              \
  X(est_db_add_pseudo_index, int, (ESTDB * db, const char* path))                                      \
  X(est_break_text, void, (const char* text, CBLIST* list, int norm, int tail))                        \
  X(est_break_text_perfng, void, (const char* text, CBLIST* list, int norm, int tail))                 \
  X(est_break_text_chrcat, void, (const char* text, CBLIST* list, int norm))                           \
  X(est_str_make_snippet, char*, (const char* str, const CBLIST* words, int wwidth, int hwidth, int awidth)) \
  X(est_iconv, char*, (const char* ptr, int size, const char* icode, const char* ocode, int* sp, int* mp)) \
  X(est_enc_name, const char*, (const char* ptr, int size, int plang))                                 \
  X(est_uconv_in, char*, (const char* ptr, int size, int* sp))                                         \
  X(est_uconv_out, char*, (const char* ptr, int size, int* sp))                                        \
  X(est_deflate, char*, (const char* ptr, int size, int* sp, int mode))                                \
  X(est_inflate, char*, (const char* ptr, int size, int* sp, int mode))                                \
  X(est_lzoencode, char*, (const char* ptr, int size, int* sp))                                        \
  X(est_lzodecode, char*, (const char* ptr, int size, int* sp))                                        \
  X(est_bzencode, char*, (const char* ptr, int size, int* sp))                                         \
  X(est_bzdecode, char*, (const char* ptr, int size, int* sp))                                         \
  X(est_border_str, const char*, (void))                                                               \
  X(est_random, double, (void))                                                                        \
  X(est_random_nd, double, (void))                                                                     \
  X(est_make_crypt, char*, (const char* key))                                                          \
  X(est_match_crypt, int, (const char* key, const char* hash))                                         \
  X(est_regex_new, void*, (const char* str))                                                           \
  X(est_regex_delete, void, (void* regex))                                                             \
  X(est_regex_match, int, (const void* regex, const char* str))                                        \
  X(est_regex_match_str, int, (const char* rstr, const char* tstr))                                    \
  X(est_regex_replace, char*, (const char* str, const char* bef, const char* aft))                     \
  X(est_doc_dup, ESTDOC*, (ESTDOC * doc))                                                              \
  X(est_doc_set_id, void, (ESTDOC * doc, int id))                                                      \
  X(est_doc_hidden_texts, const char*, (ESTDOC * doc))                                                 \
  X(est_doc_slim, void, (ESTDOC * doc, int size))                                                      \
  X(est_doc_is_empty, int, (ESTDOC * doc))                                                             \
  X(est_cond_dup, ESTCOND*, (ESTCOND * cond))                                                          \
  X(est_cond_phrase, const char*, (ESTCOND * cond))                                                    \
  X(est_cond_attrs, const CBLIST*, (ESTCOND * cond))                                                   \
  X(est_cond_order, const char*, (ESTCOND * cond))                                                     \
  X(est_cond_max, int, (ESTCOND * cond))                                                               \
  X(est_cond_skip, int, (ESTCOND * cond))                                                              \
  X(est_cond_options, int, (ESTCOND * cond))                                                           \
  X(est_cond_auxiliary, int, (ESTCOND * cond))                                                         \
  X(est_cond_distinct, const char*, (ESTCOND * cond))                                                  \
  X(est_cond_mask, int, (ESTCOND * cond))                                                              \
  X(est_cond_score, int, (ESTCOND * cond, int index))                                                  \
  X(est_cond_scores, const int*, (ESTCOND * cond, int* nump))                                          \
  X(est_cond_set_narrowing_scores, void, (ESTCOND * cond, const int* scores, int num))                 \
  X(est_cond_auxiliary_word, int, (ESTCOND * cond, const char* word))                                  \
  X(est_cond_shadows, const int*, (ESTCOND * cond, int id, int* np))                                   \
  X(est_cond_set_expander, void, (ESTCOND * cond, EstExpanderFunc func))                               \
  X(est_db_set_ecode, void, (ESTDB * db, int ecode))                                                   \
  X(est_db_check_option, int, (ESTDB * db, int option))                                                \
  X(est_db_inode, int, (ESTDB * db))                                                                   \
  X(est_db_set_doc_entity, int, (ESTDB * db, int id, const char* ptr, int size))                       \
  X(est_db_get_doc_entity, char*, (ESTDB * db, int id, int* sp))                                       \
  X(est_db_set_wildmax, void, (ESTDB * db, int num))                                                   \
  X(est_db_add_meta, void, (ESTDB * db, const char* name, const char* value))                          \
  X(est_db_meta_names, CBLIST*, (ESTDB * db))                                                          \
  X(est_db_meta, char*, (ESTDB * db, const char* name))                                                \
  X(est_db_etch_doc, CBMAP*, (ESTDB * db, ESTDOC * doc, int max))                                      \
  X(est_db_put_keywords, int, (ESTDB * db, int id, CBMAP* kwords, double weight))                      \
  X(est_db_out_keywords, int, (ESTDB * db, int id))                                                    \
  X(est_db_get_keywords, CBMAP*, (ESTDB * db, int id))                                                 \
  X(est_db_measure_doc, int, (ESTDB * db, int id, int parts))                                          \
  X(est_db_iter_init, int, (ESTDB * db, const char* prev))                                             \
  X(est_db_iter_next, int, (ESTDB * db))                                                               \
  X(est_db_word_iter_init, int, (ESTDB * db))                                                          \
  X(est_db_word_iter_next, char*, (ESTDB * db))                                                        \
  X(est_db_word_rec_size, int, (ESTDB * db, const char* word))                                         \
  X(est_db_keyword_num, int, (ESTDB * db))                                                             \
  X(est_db_keyword_iter_init, int, (ESTDB * db))                                                       \
  X(est_db_keyword_iter_next, char*, (ESTDB * db))                                                     \
  X(est_db_keyword_rec_size, int, (ESTDB * db, const char* word))                                      \
  X(est_db_keyword_search, int*, (ESTDB * db, const char* word, int* nump))                            \
  X(est_db_cache_num, int, (ESTDB * db))                                                               \
  X(est_db_used_cache_size, int, (ESTDB * db))                                                         \
  X(est_db_set_special_cache, void, (ESTDB * db, const char* name, int num))                           \
  X(est_db_set_informer, void, (ESTDB * db, EstInformerFunc func, void* opaque))                       \
  X(est_db_fill_key_cache, void, (ESTDB * db))                                                         \
  X(est_db_set_dfdb, void, (ESTDB * db, DEPOT * dfdb))                                                 \
  X(est_db_refresh_rescc, void, (ESTDB * db))                                                          \
  X(est_db_charge_rescc, void, (ESTDB * db, int max))                                                  \
  X(est_db_list_rescc, CBLIST*, (ESTDB * db))                                                          \
  X(est_db_pseudo_doc_num, int, (ESTDB * db))                                                          \
  X(est_db_attr_index_exprs, CBLIST*, (ESTDB * db))                                                    \
  X(est_db_interrupt, void, (ESTDB * db))                                                              \
  X(est_db_repair, int, (const char* name, int options, int* ecp))                                     \
  X(est_hints_to_words, CBLIST*, (CBMAP * hints))                                                      \
  X(est_resmap_add, void, (CBMAP * map, const char* key, int score, int method))                       \
  X(est_proc_env_reset, void, (void))                                                                  \
  X(est_mkdir, int, (const char* path))                                                                \
  X(est_rmdir_rec, int, (const char* path))                                                            \
  X(est_realpath, char*, (const char* path))                                                           \
  X(est_inode, int, (const char* path))                                                                \
  X(est_utime, int, (const char* path, time_t mtime))                                                  \
  X(est_gettimeofday, double, (void))                                                                  \
  X(est_usleep, void, (unsigned long usec))                                                            \
  X(est_signal, void, (int signum, EstSignalHandler sighandler))                                       \
  X(est_kill, int, (int pid, int sig))                                                                 \
  X(est_memory_usage, double, (void))                                                                  \
  X(est_ext_type, const char*, (const char* ext))                                                      \
  X(est_vector_set_seed, void, (CBMAP * svmap, int* svec, int vnum))                                   \
  X(est_vector_set_target, void, (CBMAP * svmap, CBMAP * tvmap, int* tvec, int vnum))                  \
  X(est_vector_cosine, double, (const int* avec, const int* bvec, int vnum))

// A loaded module (Windows HMODULE, or a dlopen handle natively).
using ModuleHandle = void*;

// How the two modules are found, searched and freed. System() is the platform's own loader (LoadLibraryA,
// GetProcAddress, FreeLibrary on Windows; dlopen, dlsym, dlclose natively); tests put another in its place to
// load a variant of the library or to watch the order of the calls.
struct CModuleLoader {
  ModuleHandle (*openSearchLibrary)();   // null when the library cannot be loaded
  ModuleHandle (*openRuntimeLibrary)();  // null when the library cannot be loaded
  void* (*findSymbol)(ModuleHandle module, const char* name);  // null when the name is missing
  void (*closeModule)(ModuleHandle module);

  static const CModuleLoader& System();
};

// The bound table: every entry point of the full-text library, the run-time library's free that releases what the
// full-text library allocates, and the two modules. Destroying it frees the modules, the full-text library first.
struct CEstraierApi {
#define ESTRAIER_DECLARE_ENTRY_POINT(name, ret, params) ret(ESTRAIER_CALL* name) params = nullptr;
  ESTRAIER_ENTRY_POINTS(ESTRAIER_DECLARE_ENTRY_POINT)
#undef ESTRAIER_DECLARE_ENTRY_POINT

  // The allocator's free of the full-text library; releases search results and attribute values, nothing else.
  void(ESTRAIER_CALL* free)(void* ptr) = nullptr;

  ModuleHandle searchLibrary = nullptr;   // "estraier.dll" (natively "libestraier.so"); null if not loaded
  ModuleHandle runtimeLibrary = nullptr;  // "MSVCRT.dll" (natively the process's own C library); null if not loaded
  const CModuleLoader* loader = &CModuleLoader::System();

  static constexpr int kEntryPointCount = 153;

  CEstraierApi() = default;
  ~CEstraierApi();
  CEstraierApi(const CEstraierApi&) = delete;
  CEstraierApi& operator=(const CEstraierApi&) = delete;

  // Loads both modules with moduleLoader (by bare file name with the platform's search order, for the system's
  // loader), which Bind and FreeLibraries then use too. A module that fails to load keeps a null handle; every
  // name that belongs to it then counts as missing in Bind.
  void LoadLibraries(const CModuleLoader& moduleLoader = CModuleLoader::System());
  // Looks up the 153 names in order, stopping at the first missing one, then free. True only if all were found.
  bool Bind();
  // Frees the full-text library, then the run-time library (only handles that are not null); idempotent.
  void FreeLibraries();
};
