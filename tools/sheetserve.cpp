// The child behind the wall: reads one list with the field's libraries and hands it over.

#include "tools/sheetfile.h"
#include "tools/sheetwall.h"
#include "tools/wall.h"

namespace tools::sheets {

namespace {

class Sender : public Sink {
public:
    explicit Sender(wall::RecordWriter& out) : out_(out) {}
    void workbook(Format format, bool date1904) override {
        out_.sendPayload(workbookRecord(format, date1904));
    }
    void sheet(const QString& name) override { out_.sendPayload(sheetRecord(name)); }
    void row(const Row& row) override { out_.sendPayload(rowRecord(row)); }

private:
    wall::RecordWriter& out_;
};

} // namespace

int serveSheet(const QString& path) {
    wall::ignoreInterrupts();
    wall::RecordWriter out;
    Sender sender(out);
    try {
        readFile(path, sender);
        out.sendPayload(doneRecord());
    } catch (const SheetError& e) {
        out.sendPayload(failureRecord(e.fault(), e.detail()));
    } catch (const platform::Error& e) {
        out.sendPayload(failureRecord(Fault::Damaged, e.message()));
    } catch (const std::bad_alloc&) {
        out.sendPayload(failureRecord(Fault::TooLarge, QStringLiteral("out of memory")));
    }
    out.flush();
    return 0;
}

} // namespace tools::sheets
