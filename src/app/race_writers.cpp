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
    w[WriterSlot::WriteTwiRaceBlock] = reports::WriteTwiRaceBlock;
    // Fill each slot with its writer as it comes:
    //  1 WriteShutsubahyoFile  race-card file             (reports)
    //  2 WriteTekichuUpload    upload day file, judging   (reports)
    //  3 WritePcRaceBlock      selection file             (reports)
    //  4 WriteTwiRaceBlock     labelled day file          (reports)
    //  5 WriteTanfukuCsv       rank-1 day sheet           (publish)
    //  6 WriteTanfuku2Csv      rank-2 day sheet           (publish)
    //  7 WriteTanshoCsv        win bet-import file        (publish)
    //  8 WriteWordPressBlocks  WordPress blocks           (publish)
    //  9 WriteSitePage         web page                   (publish)
    // 10 WritePrintPage        print page                 (publish)
    // 11 WriteSokudoDayCsv     external-index line        (publish)
    w[WriterSlot::WritePcRaceBlock] = reports::WritePcRaceBlock;
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
