// The widths behind the document's named line weights ("Thin" to "Thick6"),
// in the source application's length unit; element "LineThickness".
#pragma once

#include <memory>

#include "model/serializable.h"

namespace kvswx {

struct LineThicknessValues {
    double thin = 0.00018;
    double normal = 0.00025;
    double thick = 0.00035;
    double thick2 = 0.0005;
    double thick3 = 0.0007;
    double thick4 = 0.001;
    double thick5 = 0.0014;
    double thick6 = 0.002;
};

class KVSWX_DocLineThicknessOptionsImpl;

class KVSWX_DocLineThicknessOptions {
public:
    KVSWX_DocLineThicknessOptions();
    virtual ~KVSWX_DocLineThicknessOptions();
    KVSWX_DocLineThicknessOptions(const KVSWX_DocLineThicknessOptions&) = delete;
    KVSWX_DocLineThicknessOptions& operator=(const KVSWX_DocLineThicknessOptions&) = delete;

    I_Serializable* GetImpl() const;
    const LineThicknessValues& Values() const;

    void SetThin(double v);
    void SetNormal(double v);
    void SetThick(double v);
    void SetThick2(double v);
    void SetThick3(double v);
    void SetThick4(double v);
    void SetThick5(double v);
    void SetThick6(double v);

private:
    std::unique_ptr<KVSWX_DocLineThicknessOptionsImpl> d_;
};

}  // namespace kvswx
