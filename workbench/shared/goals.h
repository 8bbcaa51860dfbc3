// Every goal the workbench sends to the engine programs, and the files exchanged around them.
// Placeholders: N an object number, R a rule number, T a goal-file stem, Kb a knowledge-base
// name; the texts typed by the user are inserted unchanged.
#pragma once

#include <string>

namespace tarnix::goals {

// Rule execution and trace.
inline const std::string RunModel0 = "opt(1,1,f,m0,runs).";
inline const std::string RunModel1 = "opt(1,1,f,m1,runs).";
inline const std::string TraceList = "opt(1,1,1,1,tracelist).";
inline std::string TraceRule(const std::string& r) { return "opt(1,1,1," + r + ",tracerule)."; }
inline std::string RuleExplanation(const std::string& r) { return "opt(1,1,1," + r + ",ru_exp)."; }
inline std::string BackExplanation(const std::string& r) { return "opt(1,1,1," + r + ",bru_exp)."; }
// Rule sets and the check rule.
inline std::string LoadRuleSet(int set) { return "opt(1,1,1," + std::to_string(set) + ",load)."; }
inline const std::string CheckRule = "opt(1,1,1,3,checkRule).";
// Objects.
inline std::string ShowObject(const std::string& n) { return "opt(1,2,3,[" + n + "],showob)"; }
inline std::string ShowFrame(const std::string& n) { return "opt(1,2,3,[" + n + "],showcg)"; }
inline const std::string LoadFrame = "opt(1,1,1,1,loadcg).";
inline const std::string BinaryObjects = "opt(1,1,1,1,binob).";
inline std::string DeleteObject(const std::string& edNum) { return "opt(1,1,1," + edNum + ",delob)."; }
inline std::string DeleteObjectList(const std::string& edNum) { return "opt(1,1,1,[" + edNum + "],delob)."; }
inline const std::string CreateObject = "opt(1,1,1,1,createob).";
inline std::string UpdateObject(const std::string& edNum) { return "opt(1,1,1," + edNum + ",update)."; }
inline const std::string ObjectList = "opt(1,2,3,4,oblist).";
inline std::string NewKb(const std::string& kb) { return "opt(1,1,1," + kb + ",newKb)."; }
inline std::string FindObjectByNumber(const std::string& edNum)
{
    return "opt(1,2,3,[comm,for,object(" + edNum + ")],findob).";
}
inline std::string FindObject(const std::string& edFind) { return "opt(1,2,3," + edFind + ",findob)"; }
inline const std::string Inheritance = "opt(1,2,3,4,inheritance)";
inline std::string Retract(const std::string& edNum) { return "opt(1,2,3," + edNum + ",retract)"; }
inline std::string RunGoalFile(const std::string& t) { return "opt(1,1,1," + t + ",run)."; }
// Knowledge base compilation, project build and running a task.
inline const std::string CompileKb = "opt(1,1,1,1,ru_comp).";
inline const std::string BuildProject = " ";
inline const std::string RunTask = "opt(1,1,1,1,ru_run).";

}  // namespace tarnix::goals

namespace tarnix::files {

inline constexpr const char* CompileParameters = "estrpar.ari";
inline constexpr const char* Listing = "comp.ari";
inline constexpr const char* CompiledKb = "kbmov4c.ari";
inline constexpr const char* CompiledKbPart = "kbmov4.ari";
inline constexpr const char* CompiledKbInParameters = "KbMov4c.ari";
inline constexpr const char* BuildLog = "mkvrexn.log";
inline constexpr const char* BuildBatch = "cf.bat";
inline constexpr const char* BuiltProgram = "vrexn.exe";
inline constexpr const char* RunParametersText = "espar.txt";
inline constexpr const char* RunParameters = "espar.ari";
inline constexpr const char* Results = "results.txt";
inline constexpr const char* Database = "sdb.sdb";
inline constexpr const char* DatabaseOutput = "presdb.ari";
inline constexpr const char* Trace = "Prestrac.ari";
inline constexpr const char* TraceOld = "prestrac.ari";
inline constexpr const char* TraceExtra = "prestrace.ari";
inline constexpr const char* Tree = "esexp.ari";
inline constexpr const char* HelpFile = "tarnixhelp.chm";
inline constexpr const char* ObjectFrame = "cgl.ari";
inline constexpr const char* ObjectOutput = "cgo.ari";
inline constexpr const char* BinaryObjects = "cgb.ari";
inline constexpr const char* CheckRule = "crule.ari";
inline constexpr const char* TraceListFile = "list.txt";
inline constexpr const char* TraceRuleFile = "tracerule.txt";
inline constexpr const char* RuleExplanationFile = "exp.txt";
inline constexpr const char* BackExplanationFile = "bexp.txt";

}  // namespace tarnix::files
