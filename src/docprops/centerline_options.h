// The document's defaults for center lines and center marks; element
// "CenterlinesCenterMarks". Every field starts at 0 or false.
#pragma once

#include <cstdint>
#include <memory>

#include "model/serializable.h"

namespace kvswx {

struct CenterlineOptionsValues {
    double centerlineExtension = 0.0;
    double centerMarkSize = 0.0;
    bool centerMarkShowLines = false;
    bool centerMarkUseCenterLine = false;
    std::int32_t lineMarkOrient = 0;
    bool centerLineMarkLinear = false;
    bool centerLineMarkEndsOnlyLinear = false;
    bool centerLineMarkCircular = false;
    bool centerLineMarkEndsOnlyCircular = false;
};

class KVSWX_DocCenterlinesCenterMarksOptionsImpl;

class KVSWX_DocCenterlinesCenterMarksOptions {
public:
    KVSWX_DocCenterlinesCenterMarksOptions();
    virtual ~KVSWX_DocCenterlinesCenterMarksOptions();
    KVSWX_DocCenterlinesCenterMarksOptions(const KVSWX_DocCenterlinesCenterMarksOptions&) = delete;
    KVSWX_DocCenterlinesCenterMarksOptions& operator=(
        const KVSWX_DocCenterlinesCenterMarksOptions&) = delete;

    I_Serializable* GetImpl() const;
    const CenterlineOptionsValues& Values() const;

    void SetCenterlineExtension(double v);
    void SetCenterMarkSize(double v);
    void SetCenterMarkShowLines(bool v);
    void SetCenterMarkUseCenterLine(bool v);
    void SetLineMarkOrient(std::int32_t v);
    void SetCenterLineMarkLinear(bool v);
    void SetCenterLineMarkEndsOnlyLinear(bool v);
    void SetCenterLineMarkCircular(bool v);
    void SetCenterLineMarkEndsOnlyCircular(bool v);

private:
    std::unique_ptr<KVSWX_DocCenterlinesCenterMarksOptionsImpl> d_;
};

}  // namespace kvswx
