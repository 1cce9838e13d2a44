#pragma once

#include "tools/listimport.h"

#include <vector>

// The pupils of a school's class lists: e-Okul's "Sınıf/Şube Öğrenci Listesi" (one block per
// class and section, each under its title row "10. Sınıf / A Şubesi (ALAN) Sınıf Listesi",
// with its header row, its pupils and its count rows "Kız", "Erkek", "Toplam"), or a list the
// school made itself with a header row ("Öğrenci No" or "Numarası" or "No", "Adı Soyadı" or
// "Adı" and "Soyadı", optionally "Sınıfı" and "Şube"). Columns are found by their header's
// text, never by their place.
namespace tools::lists {

struct Pupil {
    Source at;
    QString number; // digits, without leading zeros
    QString name;   // first name(s), one blank, surname
    QString klass;  // "10/A" (class, "/", section as written); empty when the list gives none
    bool operator==(const Pupil&) const = default;
};

struct PupilList {
    std::vector<Pupil> pupils;    // each number once, in the order of the lists
    std::vector<Listed> problems; // rows not taken, and pupils listed twice
    std::vector<QString> classes; // the classes the lists hold, in their order
    // Numbers that stand in the lists but were not taken (without a name, or given to pupils
    // who differ): their readers are in the lists, so none of them is leaving.
    std::vector<QString> withheld;
};

// The pupils of all the lists given, taken together as one list. A workbook in which no sheet
// has a row of column names with a pupil number and a name is refused (SheetError NoHeader).
PupilList recognisePupils(const std::vector<sheets::Workbook>& books);

// A class as the register keeps it, from a block's title ("10. Sınıf / A Şubesi (ALAN) Sınıf
// Listesi"), a class column ("10/A", "10-A", "10 A", "10A") or a class and a section column
// ("10", "A"): "10/A". The section letter keeps its Turkish letter (I and İ are two sections).
// Empty when `title` is no block title.
QString classOfTitle(const QString& title);
QString classOfColumns(const QString& klass, const QString& section);

} // namespace tools::lists
