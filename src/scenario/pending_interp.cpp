// Placeholder so everything links while the interpreter is written. Deleted
// by the change that implements it.
#include "scenario/interp.h"
#include "scenario/scenario.h"

namespace qln {
uint16_t op_word(Engine&) { return 0; }
int32_t op_num(Engine&) { return 0; }
const char* op_str(Engine&) { return ""; }
void args_read(Engine&, const char*, Args&) {}
int32_t scn_step(Engine&) { return -10; }
bool call_push(Engine&, uint16_t) { return false; }
bool call_pop(Engine&) { return false; }
int32_t call_wait(Engine&, uint16_t) { return -1; }
bool scn_start(Engine&, Scenario*, bool, bool) { return false; }
bool scn_end(Engine&) { return false; }
void scn_end_all(Engine&, bool) {}
bool scn_invoke(Engine&, int32_t, int32_t) { return false; }
int32_t err_report(Engine&, int32_t code, const char*, ...) { return code; }
Scenario* scn_create(Engine&, const uint8_t*, uint32_t, const char*, uint16_t) { return nullptr; }
Scenario* scn_load(Engine&, const char*, uint16_t, uint16_t) { return nullptr; }
void scn_release(Scenario*) {}
bool startup_check(Engine&, const char*, uint16_t) { return false; }
bool startup_apply_records(Settings&, const uint8_t*, uint32_t) { return false; }
}  // namespace qln
