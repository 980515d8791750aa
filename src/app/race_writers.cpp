#include "app/race_writers.h"

#include "publish/day_sheets.h"
#include "publish/print_page.h"
#include "publish/site_page.h"
#include "publish/speed_index.h"
#include "publish/win_import.h"
#include "publish/wordpress_blocks.h"
#include "reports/labelled_day_file.h"
#include "reports/race_card.h"
#include "reports/selection_file.h"
#include "reports/upload_day_file.h"

namespace rw::app {

prediction::RaceWriterSlots InstallRaceWriters() {
    using prediction::WriterSlot;
    prediction::RaceWriterSlots w;
    w[WriterSlot::WriteShutsubahyoFile] = reports::WriteShutsubahyoFile;
    w[WriterSlot::WriteTekichuUpload] = reports::WriteTekichuUpload;
    w[WriterSlot::WritePcRaceBlock] = reports::WritePcRaceBlock;
    w[WriterSlot::WriteTwiRaceBlock] = reports::WriteTwiRaceBlock;
    w[WriterSlot::WriteTanfukuCsv] = publish::WriteTanfukuCsv;
    w[WriterSlot::WriteTanfuku2Csv] = publish::WriteTanfuku2Csv;
    w[WriterSlot::WriteTanshoCsv] = publish::WriteTanshoCsv;
    w[WriterSlot::WriteWordPressBlocks] = publish::WriteWordPressBlocks;
    w[WriterSlot::WriteSitePage] = publish::WriteSitePage;
    w[WriterSlot::WritePrintPage] = publish::WritePrintPage;
    w[WriterSlot::WriteSokudoDayCsv] = publish::WriteSokudoDayCsv;
    return w;
}

}  // namespace rw::app
