// Hatch records of a view: face hatches (hatching of model faces, as in
// section views) and sketch hatches (hatching of closed sketch regions). The
// two are twins: a sketch hatch is a face hatch without "Definition" and
// "UseMaterialHatch". Each writes its own element ("FaceHatch",
// "SketchHatch") under the wrapper element the base view writes, every field
// always, and reads itself back from it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/serializable.h"

namespace kvswx {

class KVSWX_FaceHatchImpl;
class KVSWX_SketchHatchImpl;

// Field values with their defaults, in written order.
struct FaceHatchValues {
    double angle = 0.0;
    std::int32_t color = 0;
    std::wstring definition;
    std::wstring pattern;
    std::int32_t patternId = 0;
    double scale = 0.0;
    bool solidFill = false;
    bool useMaterialHatch = false;
};

struct SketchHatchValues {
    double angle = 0.0;
    std::int32_t color = 0;
    std::wstring pattern;
    std::int32_t patternId = 0;
    double scale = 0.0;
    bool solidFill = false;
};

class KVSWX_FaceHatch {
public:
    KVSWX_FaceHatch();
    virtual ~KVSWX_FaceHatch();
    KVSWX_FaceHatch(const KVSWX_FaceHatch&) = delete;
    KVSWX_FaceHatch& operator=(const KVSWX_FaceHatch&) = delete;

    // Write(doc, "FaceHatches") appends "FaceHatch"; ReadFromNode(doc,
    // "FaceHatch") reads it back.
    I_Serializable* GetImpl() const;
    const FaceHatchValues& Values() const;

    void SetAngle(double v);
    void SetColor(std::int32_t v);
    void SetDefinition(const std::wstring& v);
    void SetPattern(const std::wstring& v);
    void SetPatternId(std::int32_t v);
    void SetScale(double v);
    void SetSolidFill(bool v);
    void SetUseMaterialHatch(bool v);

private:
    std::unique_ptr<KVSWX_FaceHatchImpl> d_;
};

class KVSWX_SketchHatch {
public:
    KVSWX_SketchHatch();
    virtual ~KVSWX_SketchHatch();
    KVSWX_SketchHatch(const KVSWX_SketchHatch&) = delete;
    KVSWX_SketchHatch& operator=(const KVSWX_SketchHatch&) = delete;

    // Write(doc, "SketchHatches") appends "SketchHatch"; ReadFromNode(doc,
    // "SketchHatch") reads it back, ignoring children it has no field for.
    I_Serializable* GetImpl() const;
    const SketchHatchValues& Values() const;

    void SetAngle(double v);
    void SetColor(std::int32_t v);
    void SetPattern(const std::wstring& v);
    void SetPatternId(std::int32_t v);
    void SetScale(double v);
    void SetSolidFill(bool v);

private:
    std::unique_ptr<KVSWX_SketchHatchImpl> d_;
};

}  // namespace kvswx
