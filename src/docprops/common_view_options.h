// The label block every view type's options share: the drafting standard
// the view type follows and how its view label is composed (name, scale and
// delimiter, each with a custom text and a font). Its owner creates the
// "CommonViewOptions" element; the record fills it and the owner closes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "docprops/text_format.h"
#include "model/serializable.h"

namespace kvswx {

// Scalar fields with their initial values.
struct CommonViewOptionsValues {
    std::int32_t detailingStandard = 1;
    bool detailingPerStandard = true;
    std::int32_t labelOptionsName = 0;
    std::wstring labelOptionsCustom;
    std::int32_t labelOptionsScale = 0;
    std::wstring labelOptionsScaleCustom;
    std::int32_t labelOptionsDelimiter = 0;
    std::wstring labelOptionsDelimiterCustom;
    bool labelOptionsRemoveSpaceInScaleAroundColon = true;
    bool displayLabelAboveView = true;
};

class KVSWX_CommonViewOptionsImpl;

class KVSWX_CommonViewOptions {
public:
    KVSWX_CommonViewOptions();
    virtual ~KVSWX_CommonViewOptions();
    KVSWX_CommonViewOptions(const KVSWX_CommonViewOptions&) = delete;
    KVSWX_CommonViewOptions& operator=(const KVSWX_CommonViewOptions&) = delete;

    // Write(doc, element) fills the owner's element without closing it;
    // ReadFromDocument(doc, location of that element) reads it back.
    I_Serializable* GetImpl() const;
    const CommonViewOptionsValues& Values() const;
    // The fonts; null until created.
    const KVSWX_TextFormat* GetLabelOptionsNameFont() const;
    const KVSWX_TextFormat* GetLabelOptionsScaleFont() const;
    const KVSWX_TextFormat* GetLabelOptionsDelimiterFont() const;

    void SetDetailingStandard(std::int32_t v);
    void SetDetailingPerStandard(bool v);
    void SetLabelOptionsName(std::int32_t v);
    void SetLabelOptionsCustom(const std::wstring& v);
    void SetLabelOptionsScale(std::int32_t v);
    void SetLabelOptionsScaleCustom(const std::wstring& v);
    void SetLabelOptionsDelimiter(std::int32_t v);
    void SetLabelOptionsDelimiterCustom(const std::wstring& v);
    void SetLabelOptionsRemoveSpaceInScaleAroundColon(bool v);
    void SetDisplayLabelAboveView(bool v);
    // Each replaces the earlier font and returns the new one.
    KVSWX_TextFormat* CreateLabelOptionsNameFont();
    KVSWX_TextFormat* CreateLabelOptionsScaleFont();
    KVSWX_TextFormat* CreateLabelOptionsDelimiterFont();

private:
    std::unique_ptr<KVSWX_CommonViewOptionsImpl> d_;
};

// Replaces `slot` with a new record and returns it: the creators of every
// option record.
template <class T>
T* ReplaceWithNew(std::unique_ptr<T>& slot) {
    slot.reset();
    slot = std::make_unique<T>();
    return slot.get();
}

}  // namespace kvswx
