// The stand-in's object store: any store file loads without harm; an object created from
// any text shows back line for line; creating and deleting an object twice leaves the same
// store file; and no object goal writes anywhere but the project folder.
// Input: store file NUL object text NUL goal argument.
#include "fuzz_support.h"
#include "platform.h"
#include "store.h"
#include "text_file.h"

namespace {

using namespace tarnix;
using namespace tarnix::fuzz;
using namespace tarnix::standin;

bool blankText(const Lines& lines)
{
    for (const auto& l : lines)
        if (l.find_first_not_of(" \t") != std::string::npos) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchFolder scratch;
    const auto f = fields(data, size, 3);
    const std::string &store = f[0], &object = f[1], &argument = f[2];
    const auto what = [&] { return "store: " + shown(store) + "\nobject: " + shown(object) + "\nargument: " + shown(argument); };

    const std::string root = scratch.fresh();
    Session session;
    session.homeDir = root + "home/";
    session.workDir = root + "work/";
    std::filesystem::create_directories(session.homeDir);
    std::filesystem::create_directories(session.workDir);
    writeFile(session.work("Kb1.idb"), store);
    writeFile(session.work("cgl.ari"), object);
    const auto listed = [&] {
        const Answer a = answerObjectGoal(session, "oblist", "");
        FUZZ_CHECK(a.code == "0", what());
        const long count = toInteger(a.value).value_or(-1);
        FUZZ_CHECK(count >= 0 && tarnix::readLines(session.work("cgo.ari")).size() == 3 * static_cast<std::size_t>(count), what());
        return count;
    };
    const long count = listed();

    // Create, show, delete, twice: the second round leaves the bytes of the first.
    std::string firstRound;
    for (int round = 0; round < 2; ++round) {
        const Answer created = answerObjectGoal(session, "createob", "");
        if (blankText(splitLines(object))) {
            FUZZ_CHECK(created.code != "0", "a blank object was created\n" + what());
            break;
        }
        FUZZ_CHECK(created.code == "0", what());
        FUZZ_CHECK(listed() == count + 1, what());
        FUZZ_CHECK(answerObjectGoal(session, "showob", created.value).code == "0", what());
        FUZZ_CHECK(tarnix::readLines(session.work("cgo.ari")) == splitLines(object), "the object shows otherwise\n" + what());
        FUZZ_CHECK(answerObjectGoal(session, "delob", created.value).code == "0", what());
        const std::string now = readFile(session.work("Kb1.idb"));
        if (round == 0) firstRound = now;
        else FUZZ_CHECK(now == firstRound, "the store changed between two rounds\n" + what());
    }

    // Goals with the argument, and what they may write.
    const auto homeBefore = snapshot(session.homeDir);
    for (const char* op : {"showob", "showcg", "findob", "binob", "loadcg", "update", "inheritance", "newKb", "delob"})
        answerObjectGoal(session, op, argument);
    FUZZ_CHECK(snapshot(session.homeDir) == homeBefore, "the program folder changed\n" + what());
    for (const auto& entry : std::filesystem::directory_iterator(root))
        FUZZ_CHECK(entry.path().filename() == "home" || entry.path().filename() == "work",
                   "wrote " + entry.path().string() + "\n" + what());
    for (const auto& entry : std::filesystem::directory_iterator(session.workDir))
        FUZZ_CHECK(entry.is_regular_file(), "made " + entry.path().string() + "\n" + what());
    return 0;
}
