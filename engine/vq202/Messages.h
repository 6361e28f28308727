// SPDX-License-Identifier: GPL-3.0-or-later
// The folder library's texts for ErrorMsg. Each says what happened and what became of the folder.
#pragma once

namespace VQ202::msg {

inline constexpr const char* kCancelled = "Operace byla zrušena, složka zůstala beze změny";
inline constexpr const char* kEmptyKey = "Klíč je prázdný, složka zůstala beze změny";
inline constexpr const char* kWrongKey = "Špatný klíč, složka zůstala beze změny";
inline constexpr const char* kDamaged = "Balíček složky je poškozen nebo změněn, složka zůstala beze změny";
inline constexpr const char* kNotAPackage = "Soubor není balíček šifrované složky, složka zůstala beze změny";
inline constexpr const char* kPackageMissing = "Balíček složky neexistuje";
inline constexpr const char* kPackageUnreadable = "Balíček složky nelze číst, složka zůstala beze změny";
inline constexpr const char* kKdfTooCostly =
    "Balíček žádá nepřípustně náročné odvození klíče, složka zůstala beze změny";
inline constexpr const char* kHostileName =
    "Balíček obsahuje nepřípustné jméno souboru (mimo složku), složka zůstala beze změny";
inline constexpr const char* kFolderMissing = "Složka neexistuje";
inline constexpr const char* kTooManyFiles =
    "Složka má víc než 1000000 souborů, to jeden balíček nepojme; složka zůstala beze změny";
inline constexpr const char* kDiskFull = "Na disku není dost místa, složka zůstala beze změny";
inline constexpr const char* kCannotWrite = "Do složky nelze zapisovat, složka zůstala beze změny";
inline constexpr const char* kWriteFailed = "Zápis se nezdařil, složka zůstala beze změny";
inline constexpr const char* kCryptoFailure = "Kryptografická operace selhala, složka zůstala beze změny";
inline constexpr const char* kPackageHasHardLinks =
    "Balíček složky má i další jména (pevné odkazy), složka zůstala beze změny";
inline constexpr const char* kFolderMovedMeanwhile =
    "Složku mezitím přesunul nebo nahradil jiný program, složka zůstala beze změny";
inline constexpr const char* kPackageChangedMeanwhile =
    "Balíček mezitím změnil jiný program, složka zůstala beze změny";

// These are followed by the names concerned, separated by ", ".
inline constexpr const char* kFilesInTheWay =
    "Ve složce už jsou soubory stejného jména, nic nebylo obnoveno ani přepsáno: ";
inline constexpr const char* kPackageInTheWay =
    "Ve složce už je balíček, který není mezi šifrovanými soubory, složka zůstala beze změny: ";
inline constexpr const char* kUnrestorableNames =
    "Balíček obsahuje jména, která nelze obnovit (řídicí znaky nebo tvar dočasného souboru), "
    "složka zůstala beze změny: ";
inline constexpr const char* kUnpackableName =
    "Jméno souboru nelze uložit do balíčku (řídicí znaky nebo tvar dočasného souboru), "
    "složka zůstala beze změny: ";
inline constexpr const char* kNotARegularFile = "Nejde o obyčejný soubor, složka zůstala beze změny: ";
inline constexpr const char* kCannotReadFile = "Soubor nelze číst, složka zůstala beze změny: ";
inline constexpr const char* kChangedWhileReading =
    "Soubor se během šifrování změnil, složka zůstala beze změny: ";
inline constexpr const char* kNamesOutside =
    "Soubory mají i další jména mimo složku (pevné odkazy), která by dál ukazovala původní obsah; "
    "složka zůstala beze změny: ";
inline constexpr const char* kOriginalsLeft =
    "Balíček je zapsán, ale tyto soubory zůstaly nešifrované ve složce: ";
inline constexpr const char* kPackageLeft = "Složka je obnovena, ale balíček se nepodařilo odstranit: ";

// Texts of the status label while the work goes on.
inline constexpr const char* kStatusKey = "Odvozuje se klíč..";
inline constexpr const char* kStatusEncrypting = "Šifruje se soubor ";
inline constexpr const char* kStatusDecrypting = "Dešifruje se soubor ";
inline constexpr const char* kStatusOf = " z ";
inline constexpr const char* kStatusRunning = "..";
inline constexpr const char* kStatusSaving = "Ukládá se na disk..";
inline constexpr const char* kStatusDone = "Hotovo";
inline constexpr const char* kStatusFailed = "Přerušeno";

}  // namespace VQ202::msg
