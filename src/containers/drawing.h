// The drawing model's containers: a drawing holds sheets, a sheet holds views,
// a view holds one base view record. Each is a handle owning its
// implementation; owners keep children in insertion order.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "model/serializable.h"

namespace kvswx {

class KVSWX_BaseView;
class KVSWX_DocumentProperties;
class KVSWX_DrawingImpl;
class KVSWX_DrawingSheetImpl;
class KVSWX_DrawingViewImpl;
class KVSWX_OLEObject;
class KVSWX_SketchPicture;

class KVSWX_DrawingView {
public:
    KVSWX_DrawingView();
    virtual ~KVSWX_DrawingView();
    KVSWX_DrawingView(const KVSWX_DrawingView&) = delete;
    KVSWX_DrawingView& operator=(const KVSWX_DrawingView&) = delete;

    I_Serializable* GetImpl() const;
    KVSWX_BaseView* GetBaseView() const;
    void SetName(const std::wstring& name);
    void SetSecondName(const std::wstring& name);
    void SetInvName(const std::wstring& name);
    const std::wstring& GetName() const;

private:
    std::unique_ptr<KVSWX_DrawingViewImpl> d_;
};

class KVSWX_DrawingSheet {
public:
    KVSWX_DrawingSheet();
    virtual ~KVSWX_DrawingSheet();
    KVSWX_DrawingSheet(const KVSWX_DrawingSheet&) = delete;
    KVSWX_DrawingSheet& operator=(const KVSWX_DrawingSheet&) = delete;

    I_Serializable* GetImpl() const;
    const std::wstring& GetName() const;
    void SetName(const std::wstring& name);
    const std::wstring& GetDxfName() const;
    void SetDxfName(const std::wstring& name);
    double GetSheetHeight() const;
    double GetSheetWidth() const;
    std::size_t GetViewCount() const;
    // The view at `index`, or null when out of range.
    KVSWX_DrawingView* GetView(std::size_t index) const;
    // The view named `name` (and `secondName`, when given), or a new one. A new
    // view whose name is taken by a view with another second name is called
    // name + "_" + secondName.
    KVSWX_DrawingView* GetOrAddView(const std::wstring& name, const std::wstring& secondName,
                                    const std::wstring& invName);

    // Sketch pictures and OLE objects, written before the views under
    // "SketchPictures" and "OLEObjects" (nothing when there are none).
    KVSWX_SketchPicture* AddSketchPicture();
    // The sheet takes ownership of an object its caller filled.
    void AddOLEObject(std::unique_ptr<KVSWX_OLEObject> object);
    std::size_t GetSketchPictureCount() const;
    std::size_t GetOLEObjectCount() const;
    KVSWX_SketchPicture* GetSketchPicture(std::size_t index) const;  // null when out of range
    KVSWX_OLEObject* GetOLEObject(std::size_t index) const;          // null when out of range

private:
    std::unique_ptr<KVSWX_DrawingSheetImpl> d_;
};

class KVSWX_Drawing {
public:
    KVSWX_Drawing();
    virtual ~KVSWX_Drawing();
    KVSWX_Drawing(const KVSWX_Drawing&) = delete;
    KVSWX_Drawing& operator=(const KVSWX_Drawing&) = delete;

    I_Serializable* GetImpl() const;
    const std::wstring& GetName() const;
    void SetName(const std::wstring& name);
    std::size_t GetSheetCount() const;
    KVSWX_DrawingSheet* GetSheet(std::size_t index) const;
    // The sheet named exactly `name` (case-sensitive), or a new one appended.
    KVSWX_DrawingSheet* GetOrAddSheet(const std::wstring& name);
    // A new, empty document properties record replacing any earlier one; it
    // is written as the drawing's first child. Null until created.
    KVSWX_DocumentProperties* CreateDocumentProperties();
    KVSWX_DocumentProperties* GetDocumentProperties() const;

private:
    std::unique_ptr<KVSWX_DrawingImpl> d_;
};

}  // namespace kvswx
