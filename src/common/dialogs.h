#pragma once
// Modal dialogs of the window. Every message box, question, text prompt and file
// dialog goes through this interface, so the form logic never blocks on a real
// dialog in tests or in the scripted driver.

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace lumetra::common {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Message box with an OK button.
    virtual void message(const std::string& text) = 0;
    // The same with a title that says what it is about (a plain message has the
    // program's name).
    virtual void titled_message(const std::string& title, const std::string& text) {
        (void)title;
        message(text);
    }
    // Message box with Yes and No buttons; true for Yes.
    virtual bool question(const std::string& text) = 0;
    // Text-input prompt; the typed text, empty when cancelled.
    virtual std::string prompt(const std::string& text) = 0;
    // File dialogs; the chosen file name, empty when cancelled.
    virtual std::string save_file_name(const std::string& preset_name) = 0;
    virtual std::string load_file_name() = 0;
};

// One dialog as it was shown.
struct DialogRecord {
    enum class Kind { Message, Question, Prompt, FileSave, FileLoad };
    Kind kind;
    std::string text;  // message text; empty for file dialogs
};

// Answers dialogs from a queue and records every dialog shown. A dialog with no
// queued answer takes OK, No, an empty text and an empty file name.
class ScriptedDialogs : public Dialogs {
public:
    struct Reply {
        enum class Kind { Ok, Yes, No, Text, Cancel, File };
        Kind kind;
        std::string text;
    };

    void queue(Reply reply) { replies_.push_back(std::move(reply)); }
    void queue_ok() { queue({Reply::Kind::Ok, {}}); }
    void queue_yes() { queue({Reply::Kind::Yes, {}}); }
    void queue_no() { queue({Reply::Kind::No, {}}); }
    void queue_text(std::string t) { queue({Reply::Kind::Text, std::move(t)}); }
    void queue_cancel() { queue({Reply::Kind::Cancel, {}}); }
    void queue_file(std::string path) { queue({Reply::Kind::File, std::move(path)}); }

    const std::vector<DialogRecord>& shown() const { return shown_; }
    void clear_shown() { shown_.clear(); }
    std::size_t pending() const { return replies_.size(); }
    // Called the moment a dialog opens (the driver prints it).
    std::function<void(const DialogRecord&)> on_shown;

    void message(const std::string& text) override;
    bool question(const std::string& text) override;
    std::string prompt(const std::string& text) override;
    std::string save_file_name(const std::string& preset_name) override;
    std::string load_file_name() override;

private:
    void record(DialogRecord::Kind kind, const std::string& text);
    Reply take();

    std::deque<Reply> replies_;
    std::vector<DialogRecord> shown_;
};

}  // namespace lumetra::common
