// The demo's answers to the compile, build, run and trace goals.
#pragma once

#include "common.h"

namespace tarnix::standin {

Answer compileKnowledgeBase(const Session& session);           // ru_comp
Answer buildProgram(const Session& session);                   // the blank goal of sh.exe
Answer runTask(const Session& session);                        // ru_run
Answer runModels(const Session& session);                      // runs, run: m0.txt .. m5.txt
Answer writeTraceList(const Session& session);                 // tracelist
Answer traceRule(const Session& session, const std::string& rule);    // tracerule
Answer explainRule(const Session& session, const std::string& rule, bool backwards);  // ru_exp, bru_exp
Answer loadRuleSet(const Session& session, const std::string& set);  // load
Answer checkRule(const Session& session);                      // checkRule

}  // namespace tarnix::standin
