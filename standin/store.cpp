#include "store.h"

#include "platform.h"

#include <algorithm>
#include <map>

namespace tarnix::standin {
namespace {

namespace p = tarnix::platform;

// The store file: "@object N K" followed by the K lines of object N, for every object.
class Store {
public:
    explicit Store(const Session& session) : path_(session.work(session.setting("currKb", "Kb1") + ".idb")) {
        const auto lines = readLines(path_);
        if (!lines) return;
        for (std::size_t i = 0; i < lines->size(); ++i) {
            const auto head = splitTopLevel((*lines)[i], ' ');
            if (head.size() != 3 || head[0] != "@object") continue;
            const auto number = toInteger(head[1]);
            const auto count = toInteger(head[2]);
            if (!number || !count || *count < 0) continue;
            auto& text = objects_[*number];
            for (long k = 0; k < *count && i + 1 < lines->size(); ++k) text.push_back((*lines)[++i]);
        }
    }

    bool save() const {
        std::vector<std::string> lines = {cp("% Хранилище объектов Tarnix: @object номер число_строк, затем строки")};
        for (const auto& [number, text] : objects_) {
            lines.push_back("@object " + std::to_string(number) + ' ' + std::to_string(text.size()));
            lines.insert(lines.end(), text.begin(), text.end());
        }
        return writeLines(path_, lines);
    }

    const std::map<long, std::vector<std::string>>& objects() const { return objects_; }
    const std::vector<std::string>* find(long number) const {
        const auto it = objects_.find(number);
        return it == objects_.end() ? nullptr : &it->second;
    }
    long add(std::vector<std::string> text) {
        const long number = objects_.empty() ? 1 : objects_.rbegin()->first + 1;
        objects_[number] = std::move(text);
        return number;
    }
    bool replace(long number, std::vector<std::string> text) {
        if (!objects_.count(number)) return false;
        objects_[number] = std::move(text);
        return true;
    }
    bool remove(long number) { return objects_.erase(number) > 0; }
    bool exists() const { return p::fileExists(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::map<long, std::vector<std::string>> objects_;
};

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& l : lines) all += l;
    return all;
}

std::string withoutBlanks(std::string s) {
    std::erase_if(s, [](char c) { return c == ' ' || c == '\t'; });
    return s;
}

std::string upper(std::string s) {
    for (char& c : s) c = p::upperCp1251(c);
    return s;
}

// "5", "[5]" or " 5 " as an object number.
std::optional<long> objectNumber(const std::string& argument) {
    std::string t = trim(argument);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') t = t.substr(1, t.size() - 2);
    return toInteger(t);
}

Answer notFound(const std::string& argument) {
    return Answer::failure(cp("Объект ") + trim(argument) + cp(" не найден"));
}

// The "graph" form of an object: one element per line, indented by its nesting depth.
std::vector<std::string> graphForm(long number, const std::vector<std::string>& text) {
    std::vector<std::string> out = {cp("Объект ") + std::to_string(number) + ":"};
    std::string line;
    int depth = 0;
    bool quoted = false;
    auto flush = [&] {
        if (!trim(line).empty() && trim(line) != ".") out.push_back(std::string(2 * std::max(depth, 0) + 2, ' ') + trim(line));
        line.clear();
    };
    for (const char c : joined(text)) {
        if (c == '\'') quoted = !quoted;
        if (!quoted && c == '[') {
            flush();
            ++depth;
        } else if (!quoted && c == ']') {
            flush();
            --depth;
        } else if (!quoted && c == ',') {
            flush();
        } else {
            line += c;
        }
    }
    flush();
    return out;
}

std::vector<std::string> hexForm(const std::string& bytes) {
    std::vector<std::string> out = {cp("Двоичная форма объекта, байт: ") + std::to_string(bytes.size())};
    static const char* digits = "0123456789ABCDEF";
    for (std::size_t at = 0; at < bytes.size(); at += 16) {
        std::string line = std::to_string(at);
        line.insert(0, 6 - std::min<std::size_t>(line.size(), 6), '0');
        line += ' ';
        for (std::size_t i = at; i < std::min(at + 16, bytes.size()); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            line += ' ';
            line += digits[b >> 4];
            line += digits[b & 15];
        }
        out.push_back(line);
    }
    return out;
}

int bracketBalance(const std::string& text) {
    int balance = 0;
    for (const char c : text) balance += (c == '[' || c == '(') - (c == ']' || c == ')');
    return balance;
}

}  // namespace

bool isObjectGoal(const std::string& op) {
    static const char* ops[] = {"showob", "showcg", "loadcg", "binob", "delob", "createob", "update",
                                "oblist", "newKb", "findob", "inheritance", "retract"};
    return std::find(std::begin(ops), std::end(ops), op) != std::end(ops);
}

Answer answerObjectGoal(const Session& session, const std::string& op, const std::string& argument) {
    Store store(session);
    const std::string shown = session.work("cgo.ari");
    const auto objectText = [&] { return readLines(session.work("cgl.ari")).value_or(std::vector<std::string>{}); };

    if (op == "oblist") {
        std::vector<std::string> lines;
        for (const auto& [number, text] : store.objects()) {
            lines.push_back(std::to_string(number));
            lines.push_back(text.empty() ? std::string() : trim(text[0]).substr(0, 80));
            lines.push_back(text.size() > 1 ? trim(text[1]).substr(0, 120)
                                            : cp("строк: ") + std::to_string(text.size()));
        }
        writeLines(shown, lines);
        return Answer{"0", {}, std::to_string(store.objects().size())};
    }
    if (op == "showob" || op == "showcg") {
        const auto number = objectNumber(argument);
        const auto* text = number ? store.find(*number) : nullptr;
        if (!text) {
            writeLines(shown, {cp("Нет объекта ") + trim(argument)});
            return notFound(argument);
        }
        writeLines(shown, op == "showob" ? *text : graphForm(*number, *text));
        return Answer{"0", {}, std::to_string(*number)};
    }
    if (op == "loadcg") {
        const auto text = objectText();
        if (bracketBalance(joined(text)) != 0) return Answer::failure(cp("Скобки объекта не сбалансированы"));
        return Answer{"0", cp("Объект загружен"), std::to_string(text.size())};
    }
    if (op == "binob") {
        writeLines(session.work("cgb.ari"), hexForm(readBytes(session.work("cgl.ari")).value_or("")));
        return Answer{};
    }
    if (op == "createob") {
        auto text = objectText();
        if (trim(joined(text)).empty()) return Answer::failure(cp("Пустой объект не создан"));
        const long number = store.add(std::move(text));
        if (!store.save()) return Answer::failure(cp("Не записано хранилище ") + store.path());
        return Answer{"0", {}, std::to_string(number)};
    }
    if (op == "update") {
        const auto number = objectNumber(argument);
        if (!number || !store.replace(*number, objectText())) return notFound(argument);
        if (!store.save()) return Answer::failure(cp("Не записано хранилище ") + store.path());
        return Answer{"0", {}, std::to_string(*number)};
    }
    if (op == "delob" || op == "retract") {
        const auto number = objectNumber(argument);
        if (!number || !store.remove(*number)) return notFound(argument);
        if (!store.save()) return Answer::failure(cp("Не записано хранилище ") + store.path());
        return Answer{"0", {}, std::to_string(*number)};
    }
    if (op == "findob") {
        // "[comm,for,object(N)]" finds the description of object N; anything else is a
        // piece of text looked for in the objects, without regard to case.
        const std::string wanted = upper(withoutBlanks(unquote(argument)));
        const bool description = wanted.rfind("[COMM,FOR,OBJECT(", 0) == 0;
        const std::string key = description ? wanted.substr(0, wanted.size() - 1) + "," : wanted;
        for (const auto& [number, text] : store.objects()) {
            if (upper(withoutBlanks(joined(text))).find(key) == std::string::npos) continue;
            std::vector<std::string> lines = {std::to_string(number)};
            lines.insert(lines.end(), text.begin(), text.end());
            writeLines(shown, lines);
            return Answer{"0", {}, std::to_string(number)};
        }
        return Answer::failure(cp("Ничего не найдено: ") + trim(argument));
    }
    if (op == "inheritance") {
        long links = 0;
        for (const auto& [number, text] : store.objects())
            if (upper(withoutBlanks(joined(text))).find("[ISA,") != std::string::npos) ++links;
        return Answer{"0", cp("Наследование выполнено, связей ISA: ") + std::to_string(links), std::to_string(links)};
    }
    if (op == "newKb") {
        const std::string name = trim(argument);
        if (name.empty() || name.find('/') != std::string::npos || name.find("..") != std::string::npos)
            return Answer::failure(cp("Недопустимое имя базы знаний: ") + name);
        const std::string path = session.work(name + ".idb");
        if (p::fileExists(path)) return Answer::failure(cp("База знаний ") + name + cp(" уже существует"));
        if (!writeLines(path, {cp("% Хранилище объектов Tarnix: @object номер число_строк, затем строки")}))
            return Answer::failure(cp("Не создан файл ") + path);
        return Answer{"0", {}, name};
    }
    return Answer::failure(cp("Неизвестная операция ") + op);
}

}  // namespace tarnix::standin
