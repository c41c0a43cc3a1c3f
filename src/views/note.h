// A note of a view: a text annotation, possibly a balloon, with an optional
// leader and its text format. Writes one "Note" element (its name as
// attribute "Name", left out when empty) under the base view's "Notes" and
// reads itself back from it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/encodings.h"
#include "model/serializable.h"

namespace kvswx {

class KVSWX_NoteImpl;
class KVSWX_TextFormat;

// Field values with their defaults, in declaration order (the written order
// differs, see note.cpp). LeaderHeadStyle starts at 1, a closed arrow head.
struct NoteValues {
    std::wstring name;
    std::wstring text;
    std::wstring prompt;
    std::wstring linkedText;
    Point3 textPoint{};
    DoubleList leaderPoints;
    std::int32_t leaderHeadStyle = 1;
    bool isBalloon = false;
};

class KVSWX_Note {
public:
    KVSWX_Note();
    virtual ~KVSWX_Note();
    KVSWX_Note(const KVSWX_Note&) = delete;
    KVSWX_Note& operator=(const KVSWX_Note&) = delete;

    I_Serializable* GetImpl() const;
    const NoteValues& Values() const;

    void SetName(const std::wstring& v);
    void SetText(const std::wstring& v);
    void SetPrompt(const std::wstring& v);
    void SetLinkedText(const std::wstring& v);
    void SetTextPoint(const Point3& v);
    void SetLeaderPoints(const DoubleList& v);
    void SetLeaderHeadStyle(std::int32_t v);
    void SetIsBalloon(bool v);
    // Destroys the text format held, if any, and returns a new default one.
    KVSWX_TextFormat* NewTextFormat();
    KVSWX_TextFormat* GetTextFormat() const;

private:
    std::unique_ptr<KVSWX_NoteImpl> d_;
};

}  // namespace kvswx
