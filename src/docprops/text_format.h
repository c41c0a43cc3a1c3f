// A text format: one font setting (face, height, style flags, spacing). It
// fills the font wrapper element its owner creates (for example
// "LabelOptionsNameFont" or "TextFormat") with 16 children and closes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/serializable.h"

namespace kvswx {

// Field values with their initial values, in written order.
struct TextFormatValues {
    bool isBackWards = false;
    bool isBold = false;
    double charHeight = 0.0035;
    std::int32_t charHeightInPoints = 13;
    double charSpacingFactor = 1.0;
    double escapement = 0.0;
    bool isItalic = false;
    double lineLength = 0.0;
    double lineSpacing = 0.0;
    double obliqueAngle = 0.0;
    bool isStrikeOut = false;
    std::wstring typeFaceName = L"Century Gothic";
    bool isUnderline = false;
    bool isUpsideDown = false;
    bool isVertical = false;
    double widthFactor = 1.0;
};

class KVSWX_TextFormatImpl;

class KVSWX_TextFormat {
public:
    KVSWX_TextFormat();
    virtual ~KVSWX_TextFormat();
    KVSWX_TextFormat(const KVSWX_TextFormat&) = delete;
    KVSWX_TextFormat& operator=(const KVSWX_TextFormat&) = delete;

    // Write(doc, wrapper) fills and closes the owner's wrapper element;
    // ReadFromNode(doc, wrapper) reads it back.
    I_Serializable* GetImpl() const;
    const TextFormatValues& Values() const;

    void SetIsBackWards(bool v);
    void SetIsBold(bool v);
    void SetCharHeight(double v);
    void SetCharHeightInPoints(std::int32_t v);
    void SetCharSpacingFactor(double v);
    void SetEscapement(double v);
    void SetIsItalic(bool v);
    void SetLineLength(double v);
    void SetLineSpacing(double v);
    void SetObliqueAngle(double v);
    void SetIsStrikeOut(bool v);
    void SetTypeFaceName(const std::wstring& v);
    void SetIsUnderline(bool v);
    void SetIsUpsideDown(bool v);
    void SetIsVertical(bool v);
    void SetWidthFactor(double v);

private:
    std::unique_ptr<KVSWX_TextFormatImpl> d_;
};

}  // namespace kvswx
