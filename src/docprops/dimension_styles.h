// Named dimension styles, each with a units code and a scale. They come
// only from a file that is read, and are written back as they were read:
// "DimensionStyles" holding one "DimensionStyle" per style, the name as
// text, "Units" and "Scale" as attributes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/serializable.h"

namespace kvswx {

class KVSWX_DimensionStyleImpl;

class KVSWX_DimensionStyle {
public:
    KVSWX_DimensionStyle();
    virtual ~KVSWX_DimensionStyle();
    KVSWX_DimensionStyle(const KVSWX_DimensionStyle&) = delete;
    KVSWX_DimensionStyle& operator=(const KVSWX_DimensionStyle&) = delete;

    I_Serializable* GetImpl() const;
    const std::wstring& GetName() const;
    std::int32_t GetUnits() const;
    double GetScale() const;

private:
    std::unique_ptr<KVSWX_DimensionStyleImpl> d_;
};

class KVSWX_DimensionStylesCollectionImpl;

class KVSWX_DimensionStylesCollection {
public:
    KVSWX_DimensionStylesCollection();
    virtual ~KVSWX_DimensionStylesCollection();
    KVSWX_DimensionStylesCollection(const KVSWX_DimensionStylesCollection&) = delete;
    KVSWX_DimensionStylesCollection& operator=(const KVSWX_DimensionStylesCollection&) = delete;

    // Write: nothing for an empty collection. ReadFromDocument(doc, location
    // of "DimensionStyles"): every child element is a style, whatever its name.
    I_Serializable* GetImpl() const;
    const std::vector<std::unique_ptr<KVSWX_DimensionStyle>>& GetStyles() const;

private:
    std::unique_ptr<KVSWX_DimensionStylesCollectionImpl> d_;
};

}  // namespace kvswx
