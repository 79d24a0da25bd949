// The one Z3 context and solver of a run, its budget, the switch of the pass
// and the table of declared symbols. Z3 errors never abort the process:
// the handler records them and the query in which one occurs is unknown.
#include <unordered_map>

#include "smtint.h"

static int smtOn = 0;
static unsigned smtRlimit = SMT_RLIMIT_DEFAULT;
static Z3_context smtContext = nullptr;
static Z3_solver smtSolver = nullptr;
static int smtStartFailed = 0;
static int smtError = 0;
static std::unordered_map<std::string, Z3_func_decl> *smtDecls = nullptr;
static int smtStale = 0;

void SmtSetOn(int on) { smtOn = on != 0; }
int SmtIsOn() { return smtOn; }

static void SmtParamsApply() {
  if (!smtSolver) return;
  Z3_params p = Z3_mk_params(smtContext);
  Z3_params_inc_ref(smtContext, p);
  Z3_params_set_uint(smtContext, p, Z3_mk_string_symbol(smtContext, "rlimit"), smtRlimit);
  if (!SmtWatchStart())
    Z3_params_set_uint(smtContext, p, Z3_mk_string_symbol(smtContext, "timeout"), SmtTimeout());
  Z3_solver_set_params(smtContext, smtSolver, p);
  Z3_params_dec_ref(smtContext, p);
}

void SmtSetRlimit(unsigned limit) {
  smtRlimit = limit ? limit : SMT_RLIMIT_DEFAULT;
  SmtParamsApply();
}
unsigned SmtRlimit() { return smtRlimit; }

static void SmtOnError(Z3_context, Z3_error_code e) { smtError = e ? (int)e : 1; }
int SmtErrorSeen() { return smtError; }
void SmtErrorClear() { smtError = 0; }

void SmtContextStale() { smtStale = 1; }

// Drops the context and what belongs to it; the kept answers stay.
static void SmtContextDrop() {
  if (smtContext) {
    Z3_solver_dec_ref(smtContext, smtSolver);
    Z3_del_context(smtContext);
  }
  delete smtDecls;
  smtDecls = nullptr;
  smtContext = nullptr;
  smtSolver = nullptr;
  smtError = 0;
  smtStale = 0;
}

Z3_context SmtContext() {
  if (smtStale) SmtContextDrop();
  if (smtContext || smtStartFailed) return smtContext;
  Z3_config cfg = Z3_mk_config();
  if (!cfg) {
    smtStartFailed = 1;
    ErrorMsg("the solver Z3 could not be started; conditions are left to the other passes");
    return nullptr;
  }
  Z3_set_param_value(cfg, "model", "true");
  smtContext = Z3_mk_context(cfg);
  Z3_del_config(cfg);
  if (!smtContext) {
    smtStartFailed = 1;
    ErrorMsg("the solver Z3 could not be started; conditions are left to the other passes");
    return nullptr;
  }
  Z3_set_error_handler(smtContext, SmtOnError);
  smtSolver = Z3_mk_solver(smtContext);
  Z3_solver_inc_ref(smtContext, smtSolver);
  SmtParamsApply();
  smtDecls = new std::unordered_map<std::string, Z3_func_decl>();
  return smtContext;
}

Z3_solver SmtSolver() { return SmtContext() ? smtSolver : nullptr; }

void SmtClose() {
  SmtAnswersClear();
  SmtContextDrop();
}

Z3_func_decl SmtDecl(Z3_context c, char role, int arity, const char *name, int make) {
  std::string key = std::string(1, role) + std::to_string(arity) + ":" + name;
  auto it = smtDecls->find(key);
  if (it != smtDecls->end()) return it->second;
  if (!make) return nullptr;
  Z3_sort z = Z3_mk_int_sort(c);
  Z3_sort range = role == SMT_PRED ? Z3_mk_bool_sort(c) : z;
  std::vector<Z3_sort> domain(role == SMT_FUN || role == SMT_PRED || role == SMT_FACT ? arity : 0, z);
  if (role == SMT_ARRAY) range = Z3_mk_array_sort_n(c, arity, std::vector<Z3_sort>(arity, z).data(), z);
  Z3_func_decl d = Z3_mk_func_decl(c, Z3_mk_string_symbol(c, key.c_str()), domain.size(),
                                   domain.data(), range);
  if (!d || smtError) return nullptr;
  (*smtDecls)[key] = d;
  return d;
}
