// The projection arrow of a projected or auxiliary view: the arrow drawn in
// the parent view, its label and the label's text format. The base view
// creates the "ProjectionArrow" element (no attributes) and closes it; the
// record fills it with "Label", "Coordinates" and, when it has one,
// "TextFormat".
#pragma once

#include <array>
#include <memory>
#include <string>

#include "model/serializable.h"

namespace kvswx {

class KVSWX_ProjectionArrowImpl;
class KVSWX_TextFormat;

// Six numbers, in the order the source application's arrow gives them.
using ArrowCoordinates = std::array<double, 6>;

struct ProjectionArrowValues {
    std::wstring label;
    ArrowCoordinates coordinates{};
};

class KVSWX_ProjectionArrow {
public:
    KVSWX_ProjectionArrow();
    virtual ~KVSWX_ProjectionArrow();
    KVSWX_ProjectionArrow(const KVSWX_ProjectionArrow&) = delete;
    KVSWX_ProjectionArrow& operator=(const KVSWX_ProjectionArrow&) = delete;

    // Write(doc, "ProjectionArrow" element); ReadFromDocument(doc, location
    // of that element).
    I_Serializable* GetImpl() const;
    const ProjectionArrowValues& Values() const;

    void SetLabel(const std::wstring& v);
    void SetCoordinates(const ArrowCoordinates& v);
    // Destroys the text format held, if any, and returns a new default one.
    KVSWX_TextFormat* NewTextFormat();
    KVSWX_TextFormat* GetTextFormat() const;  // null when none

private:
    std::unique_ptr<KVSWX_ProjectionArrowImpl> d_;
};

}  // namespace kvswx
