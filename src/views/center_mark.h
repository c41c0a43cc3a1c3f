// A center mark of a view: the center of a circular edge (or a group of
// them). It either follows the document's center mark options
// (UseDocumentDefaults) or carries its own size and line settings; only in
// the second case are "MarkSize", "ExtendedLines" and "CenterlineFont"
// written. Writes one "CenterMark" element under the base view's
// "CenterMarks" and reads itself back from it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/encodings.h"
#include "model/serializable.h"

namespace kvswx {

class KVSWX_CenterMarkImpl;

// Field values, all zero, false or empty after construction, in declaration
// order.
struct CenterMarkValues {
    bool useDocumentDefaults = false;
    double markSize = 0.0;
    bool extendedLines = false;
    bool centerlineFont = false;
    double angle = 0.0;
    std::int32_t style = 0;
    std::int32_t groupCount = 0;
    Point3 position{};
    std::wstring cmLayer;
};

class KVSWX_CenterMark {
public:
    KVSWX_CenterMark();
    virtual ~KVSWX_CenterMark();
    KVSWX_CenterMark(const KVSWX_CenterMark&) = delete;
    KVSWX_CenterMark& operator=(const KVSWX_CenterMark&) = delete;

    I_Serializable* GetImpl() const;
    const CenterMarkValues& Values() const;

    void SetUseDocumentDefaults(bool v);
    void SetMarkSize(double v);
    void SetExtendedLines(bool v);
    void SetCenterlineFont(bool v);
    void SetAngle(double v);
    void SetStyle(std::int32_t v);
    void SetGroupCount(std::int32_t v);
    void SetPosition(const Point3& v);
    void SetCMLayer(const std::wstring& v);

private:
    std::unique_ptr<KVSWX_CenterMarkImpl> d_;
};

}  // namespace kvswx
