// The engine's object list and the description objects, as the object tools read and write
// them.
//
// Object list (WorkDir + ObjectListFile, written for the object-list goal): three lines an
// object, to the end of the file: the object number in decimal, then two lines of text about
// the object. The goal's result value is the number of objects.
//
// Description object: one line "[comm,for,object(N),val,'D']." that names the described
// object's number N and holds its description D.
#pragma once

#include <string>
#include <vector>

#include "text_file.h"

namespace tarnix {

struct ObjectListGroup {
    std::string number;
    std::string text1;
    std::string text2;
};

// The groups of the object list. Lines missing from a last group cut short read as empty;
// a file that cannot be read throws InOutError ("File not found").
std::vector<ObjectListGroup> ReadObjectList();

// Appends the group's number to ObjectNumbers with PushNumber: a number that is not a whole
// number throws the conversion error, the 10001st the range error.
void PushObjectNumber(const ObjectListGroup& group);

// The description D of an object from the lines of a description text: "[" + line + "]" for
// each line up to the first empty one, joined without separators.
std::string DescriptionText(const Lines& lines);
// The description object's line for object `number` and description `description`; an
// apostrophe inside the description is doubled, so the quoted text stays one item.
std::string DescriptionTerm(const std::string& number, const std::string& description);

}  // namespace tarnix
