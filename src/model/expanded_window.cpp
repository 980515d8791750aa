#include "model/expanded_window.h"

#include "common/kestrav_path.h"

namespace rw::model {

void LoadExpandedWindow(ExpandedState& s, SkipLog& log) {
    AppPath = GetAppPath();
    struct Load {
        Surface surface;
        FactorModel* model;
        const char* what;
    };
    for (const Load& l : {Load{Surface::Turf, &s.TurfModel, "reading the turf model"},
                          Load{Surface::Dirt, &s.DirtModel, "reading the dirt model"},
                          Load{Surface::Jump, &s.JumpModel, "reading the jump model"}}) {
        if (auto failure = LoadFactorModel(l.surface, *l.model)) log.record(l.what, failure->text().toStdString());
    }
}

}  // namespace rw::model
