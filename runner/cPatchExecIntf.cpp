#include "runner/cPatchExecIntf.h"

TProgressParam MakeStartProgress(int32_t min, int32_t max, int32_t position, bool isDetail,
                                 const std::string& text) {
    TProgressParam p;
    p.Min = min;
    p.Value = max;
    p.Position = position;
    p.IsDetail = isDetail;
    p.Text = text;
    return p;
}

TProgressParam MakeStepProgress(int32_t value, bool isDetail, const std::string& text) {
    TProgressParam p;
    p.Value = value;
    p.IsDetail = isDetail;
    p.Text = text;
    return p;
}
