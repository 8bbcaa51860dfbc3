// The demo's object store: the objects of one knowledge base, kept in WorkDir + Kb + ".idb"
// (Kb is "currKb" of the settings file), and the object goals that work on it.
#pragma once

#include "common.h"

namespace tarnix::standin {

// Answers an object goal ("oblist", "showob", "createob", ...); `op` is the goal's last
// argument and `argument` its fourth.
Answer answerObjectGoal(const Session& session, const std::string& op, const std::string& argument);

bool isObjectGoal(const std::string& op);

}  // namespace tarnix::standin
