// The drawing's document options: center line and center mark options, the
// options of each view type, the line thickness table, dimension styles and
// the new name of the source drawing's layer "0". Written as the drawing's
// "DocumentProperties" child.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "docprops/centerline_options.h"
#include "docprops/dimension_styles.h"
#include "docprops/line_thickness_options.h"
#include "docprops/view_options.h"
#include "model/serializable.h"

namespace kvswx {

class KVSWX_DocumentPropertiesImpl;

class KVSWX_DocumentProperties {
public:
    KVSWX_DocumentProperties();
    virtual ~KVSWX_DocumentProperties();
    KVSWX_DocumentProperties(const KVSWX_DocumentProperties&) = delete;
    KVSWX_DocumentProperties& operator=(const KVSWX_DocumentProperties&) = delete;

    // Write(doc, parent) appends "DocumentProperties" with the children that
    // exist; ReadFromDocument(doc, location of that element) creates all
    // four children and reads them.
    I_Serializable* GetImpl() const;

    // Null until created.
    const KVSWX_DocCenterlinesCenterMarksOptions* GetCenterlinesCenterMarksOptions() const;
    const KVSWX_DocViewOptions* GetViewOptions() const;
    const KVSWX_DocLineThicknessOptions* GetLineThicknessOptions() const;
    const KVSWX_DimensionStylesCollection* GetDimensionStyles() const;
    // Absent until set; "KVLayer" is written only when present.
    const std::optional<std::wstring>& GetLayerName() const;

    // Each replaces the earlier child and returns the new, empty one.
    KVSWX_DocCenterlinesCenterMarksOptions* CreateCenterlinesCenterMarksOptions();
    KVSWX_DocViewOptions* CreateViewOptions();
    KVSWX_DocLineThicknessOptions* CreateLineThicknessOptions();
    KVSWX_DimensionStylesCollection* CreateDimensionStyles();
    // Stores a copy; nullopt clears it.
    void SetLayerName(const std::optional<std::wstring>& name);

private:
    std::unique_ptr<KVSWX_DocumentPropertiesImpl> d_;
};

}  // namespace kvswx
