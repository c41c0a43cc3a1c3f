#include "extract/text_format_extraction.h"

namespace kvswx {

void ExtractTextFormat(KVSWX_TextFormat& record, const Ref<SourceTextFormat>& source) {
    if (!source) return;
    SourceTextFormat& f = *source;
    record.SetIsBackWards(f.IsBackWards() != 0);
    record.SetIsBold(f.IsBold() != 0);
    record.SetCharHeight(f.CharHeight());
    record.SetCharHeightInPoints(f.CharHeightInPoints());
    record.SetCharSpacingFactor(f.CharSpacingFactor());
    record.SetEscapement(f.Escapement());
    record.SetIsItalic(f.IsItalic() != 0);
    record.SetLineLength(f.LineLength());
    record.SetLineSpacing(f.LineSpacing());
    record.SetObliqueAngle(f.ObliqueAngle());
    record.SetIsStrikeOut(f.IsStrikeOut() != 0);
    record.SetTypeFaceName(f.TypeFaceName().value_or(std::wstring()));
    record.SetIsUnderline(f.IsUnderline() != 0);
    record.SetIsUpsideDown(f.IsUpsideDown() != 0);
    record.SetIsVertical(f.IsVertical() != 0);
    record.SetWidthFactor(f.WidthFactor());
}

}  // namespace kvswx
