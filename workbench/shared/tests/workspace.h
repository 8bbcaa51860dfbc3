// A throw-away home folder and project folder for one test, with the stand-in engine
// programs installed and the scripted Ui in place.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "scripted_ui.h"

namespace tarnix::test {

class Workspace {
public:
    // Lays out <tmp>/home/ (the program folder, with an "Ordo.ini" naming the project folder)
    // and <tmp>/<projectName>/, and points context, the program folder and the Ui at them.
    explicit Workspace(const std::string& projectName = "work");
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // Puts the stand-in under the engine programs' names into the home folder.
    void installEngines();
    // Copies every file of the demo project into the project folder, replacing what is there.
    void installDemo();
    // Makes the stand-in answer from this script (see standin/README.md).
    void script(const std::string& text);

    void write(const std::string& path, const std::string& bytes) const;
    std::string read(const std::string& path) const;
    bool exists(const std::string& path) const;
    // The goals the stand-in received, one per line, oldest first.
    std::string engineLog() const;

    // The process group of the stand-in's sleeping child (script directive `child <name>`),
    // once the child has written its number into WorkDir/<name>; 0 when it never does. On
    // Windows, which has no process groups, the child's process id.
    int childGroup(const std::string& name) const;
    // True while a process of `group` (on Windows: the process) has not ended (one that has
    // ended but is not reaped yet does not count).
    static bool groupAlive(int group);

    // Makes a folder or file unwritable even for root (permission bits, and the immutable flag
    // where the file system has one); false when that cannot be done here (a folder on
    // Windows). Undone at the end.
    bool makeReadOnly(const std::string& path);
    // A folder on a file system of `bytes` bytes, to fill up; empty when none can be mounted
    // here. Unmounted at the end.
    std::string smallDisk(std::size_t bytes);

    std::string root;  // with trailing '/'
    std::string home;  // with trailing '/'
    std::string work;  // with trailing '/'
    ScriptedUi ui;

private:
    std::vector<std::string> locked_;
    std::vector<std::string> mounted_;
};

}  // namespace tarnix::test
