#include "araclar/desksettings.h"

#include <QSettings>

namespace araclar {

namespace {
QString key(const Context& c, const char16_t* name) {
    return c.libraryKey(QString::fromUtf16(name));
}
} // namespace

tools::desk::Rules loadRules(const QSettings& s, const Context& c) {
    tools::desk::Rules r;
    r.loanDays = s.value(key(c, u"masa/odunc-gun"), r.loanDays).toInt();
    r.pupilLimit = s.value(key(c, u"masa/ogrenci-siniri"), r.pupilLimit).toInt();
    r.teacherLimit = s.value(key(c, u"masa/ogretmen-siniri"), r.teacherLimit).toInt();
    r.notLent = s.value(key(c, u"masa/verilmeyen-turler"), r.notLent).toStringList();
    r.lateBlocks = s.value(key(c, u"masa/geciken-engeller"), r.lateBlocks).toBool();
    return r;
}

void saveRules(QSettings& s, const Context& c, const tools::desk::Rules& r) {
    s.setValue(key(c, u"masa/odunc-gun"), r.loanDays);
    s.setValue(key(c, u"masa/ogrenci-siniri"), r.pupilLimit);
    s.setValue(key(c, u"masa/ogretmen-siniri"), r.teacherLimit);
    s.setValue(key(c, u"masa/verilmeyen-turler"), r.notLent);
    s.setValue(key(c, u"masa/geciken-engeller"), r.lateBlocks);
    s.sync();
}

printing::LabelSheet loadCustomSheet(const QSettings& s, const Context& c) {
    printing::LabelSheet d = printing::sheet3x8();
    const auto number = [&](const char16_t* name, double fallback) {
        return s.value(key(c, name), fallback).toDouble();
    };
    d.columns = s.value(key(c, u"etiket/sutun"), d.columns).toInt();
    d.rows = s.value(key(c, u"etiket/satir"), d.rows).toInt();
    d.labelWidth = number(u"etiket/genislik", d.labelWidth);
    d.labelHeight = number(u"etiket/yukseklik", d.labelHeight);
    d.top = number(u"etiket/ust-bosluk", d.top);
    d.left = number(u"etiket/sol-bosluk", d.left);
    d.columnGap = number(u"etiket/sutun-arasi", d.columnGap);
    d.rowGap = number(u"etiket/satir-arasi", d.rowGap);
    return d;
}

void saveCustomSheet(QSettings& s, const Context& c, const printing::LabelSheet& d) {
    s.setValue(key(c, u"etiket/sutun"), d.columns);
    s.setValue(key(c, u"etiket/satir"), d.rows);
    s.setValue(key(c, u"etiket/genislik"), d.labelWidth);
    s.setValue(key(c, u"etiket/yukseklik"), d.labelHeight);
    s.setValue(key(c, u"etiket/ust-bosluk"), d.top);
    s.setValue(key(c, u"etiket/sol-bosluk"), d.left);
    s.setValue(key(c, u"etiket/sutun-arasi"), d.columnGap);
    s.setValue(key(c, u"etiket/satir-arasi"), d.rowGap);
    s.sync();
}

int loadSheetChoice(const QSettings& s, const Context& c) {
    return std::clamp(s.value(key(c, u"etiket/sayfa"), 0).toInt(), 0, 2);
}

void saveSheetChoice(QSettings& s, const Context& c, int choice) {
    s.setValue(key(c, u"etiket/sayfa"), choice);
    s.sync();
}

QString loadLibraryName(const QSettings& s, const Context& c) {
    return s.value(key(c, u"etiket/kutuphane-adi")).toString();
}

void saveLibraryName(QSettings& s, const Context& c, const QString& name) {
    s.setValue(key(c, u"etiket/kutuphane-adi"), name);
    s.sync();
}

} // namespace araclar
