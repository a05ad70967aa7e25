// Late-bound calls on Word's objects: names resolved once per object type and cached, arguments
// passed positionally or by name, failures turned into word::Error (HRESULT and EXCEPINFO).
#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "word/com/busy.h"
#include "word/com/com_support.h"

namespace word::com {

enum class ObjectType {
    Application,
    Documents,
    Document,
    Window,
    Selection,
    Range,
    Font,
    ParagraphFormat,
    CommandBars,
    CommandBar,
    Controls,
    Control,
    Count
};

// How a session meets a busy Word.
struct BusyWaiting {
    // From another process: a refused call is tried again for up to kBusyLimit (busy.h). Inside
    // Word (an add-in on Word's own thread) waiting would only hold Word up: it fails at once.
    bool retry = false;
    // Runs while a refused call waits.
    std::function<void()> whileWaiting;
};

// One connection to Word: the DISPIDs learnt per object type, and whether Word has gone away
// (a call failed because its process is no longer there).
class Session {
public:
    explicit Session(BusyWaiting busy = {}) : busy_(std::move(busy)) {}
    const std::vector<DISPID>& ids(IDispatch* object, ObjectType type, std::u16string_view member,
                                   const std::vector<std::u16string_view>& parameters);
    bool lost() const { return lost_; }
    // Keeps the last object reached of each type referenced until the next one of that type: when
    // Word hands out the same object again, its proxy is still there, and letting go of it is no
    // call to Word.
    void keep(ObjectType type, IDispatch* object) { kept_[static_cast<std::size_t>(type)] = object; }
    // Throws word::Error for a failed call; notes a Word that has gone away. A call refused by a
    // busy Word, and Word's errors for a document that cannot be edited, fail with their reason.
    [[noreturn]] void fail(std::u16string_view member, HRESULT hr, EXCEPINFO* exception = nullptr);
    // Runs a call on Word (returning its HRESULT), tried again while Word refuses it as busy when
    // the session waits for a busy Word.
    template <typename Call>
    HRESULT busyAware(Call&& call) {
        if (!busy_.retry) return call();
        return retryWhileBusy(std::forward<Call>(call), busy_.whileWaiting);
    }

private:
    BusyWaiting busy_;
    std::array<std::map<std::u16string, std::vector<DISPID>>, static_cast<std::size_t>(ObjectType::Count)> cache_;
    bool lost_ = false;
    std::array<ComPtr<IDispatch>, static_cast<std::size_t>(ObjectType::Count)> kept_;
};

// A named (name non-empty) or positional argument.
struct Argument {
    std::u16string_view name;
    Variant value;
};

class Dispatch {
public:
    Dispatch() = default;
    Dispatch(std::shared_ptr<Session> session, ComPtr<IDispatch> object, ObjectType type)
        : session_(std::move(session)), object_(std::move(object)), type_(type) {}

    Variant get(std::u16string_view property) const;
    Dispatch object(std::u16string_view property, ObjectType type) const;
    void put(std::u16string_view property, Variant value) const;
    Variant call(std::u16string_view method, std::vector<Argument> arguments = {}) const;
    Dispatch callObject(std::u16string_view method, std::vector<Argument> arguments, ObjectType type) const;

    // Conversions of results; a result of another type fails as a call of `member` would.
    LONG int32(const Variant& value, std::u16string_view member) const;
    std::u16string text(const Variant& value, std::u16string_view member) const;

    IDispatch* get() const { return object_.Get(); }
    const std::shared_ptr<Session>& session() const { return session_; }

private:
    Variant invoke(std::u16string_view member, WORD flags, std::vector<Argument>& arguments) const;
    Dispatch toObject(Variant value, std::u16string_view member, ObjectType type) const;

    std::shared_ptr<Session> session_;
    ComPtr<IDispatch> object_;
    ObjectType type_ = ObjectType::Application;
};

}  // namespace word::com
