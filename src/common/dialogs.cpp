#include "common/dialogs.h"

namespace lumetra::common {

void ScriptedDialogs::record(DialogRecord::Kind kind, const std::string& text) {
    shown_.push_back({kind, text});
    if (on_shown) on_shown(shown_.back());
}

ScriptedDialogs::Reply ScriptedDialogs::take() {
    if (replies_.empty()) return {Reply::Kind::Cancel, {}};
    Reply r = std::move(replies_.front());
    replies_.pop_front();
    return r;
}

void ScriptedDialogs::message(const std::string& text) {
    record(DialogRecord::Kind::Message, text);
    take();
}

bool ScriptedDialogs::question(const std::string& text) {
    record(DialogRecord::Kind::Question, text);
    return take().kind == Reply::Kind::Yes;
}

std::string ScriptedDialogs::prompt(const std::string& text) {
    record(DialogRecord::Kind::Prompt, text);
    Reply r = take();
    return r.kind == Reply::Kind::Text ? r.text : std::string();
}

std::string ScriptedDialogs::save_file_name(const std::string&) {
    record(DialogRecord::Kind::FileSave, {});
    Reply r = take();
    return r.kind == Reply::Kind::File ? r.text : std::string();
}

std::string ScriptedDialogs::load_file_name() {
    record(DialogRecord::Kind::FileLoad, {});
    Reply r = take();
    return r.kind == Reply::Kind::File ? r.text : std::string();
}

}  // namespace lumetra::common
