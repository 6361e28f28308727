// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's user-facing texts, in one place. Each tells what happened and that the file was left as it was.
#pragma once

namespace engine::msg {

inline constexpr const char* kFileMissing = "Soubor neexistuje";
inline constexpr const char* kNotARegularFile = "Nejde o soubor";
inline constexpr const char* kCannotRead = "Soubor nelze číst";
inline constexpr const char* kCannotWrite = "Do složky souboru nelze zapisovat, soubor zůstal beze změny";
inline constexpr const char* kDiskFull = "Na disku není dost místa, soubor zůstal beze změny";
inline constexpr const char* kWriteFailed = "Zápis se nezdařil, soubor zůstal beze změny";
inline constexpr const char* kWrongKey = "Špatný klíč, soubor zůstal beze změny";
inline constexpr const char* kDamaged = "Soubor je poškozen nebo změněn, soubor zůstal beze změny";
inline constexpr const char* kNotOurFile = "Soubor není šifrován touto bází, soubor zůstal beze změny";
inline constexpr const char* kKdfTooCostly = "Soubor žádá nepřípustně náročné odvození klíče, soubor zůstal beze změny";
inline constexpr const char* kEmptyKey = "Klíč je prázdný";
inline constexpr const char* kKeySizeOutOfRange = "Velikost klíče musí být 1 až 65536 bitů";
inline constexpr const char* kCryptoFailure = "Kryptografická operace selhala, soubor zůstal beze změny";
inline constexpr const char* kHardLinks =
    "Soubor má i další jména (pevné odkazy), která by dál ukazovala původní obsah; soubor zůstal beze změny";
inline constexpr const char* kOwnerNotKept =
    "Soubor patří jinému uživateli nebo skupině a ta by se změnila; soubor zůstal beze změny";
inline constexpr const char* kNotDurable =
    "Výsledek je na místě, ale složku nelze zapsat na disk: výpadek proudu by ho mohl vrátit zpět";
inline constexpr const char* kPermissionsNotKept =
    "Výsledku nelze dát oprávnění původního souboru, soubor zůstal beze změny";
inline constexpr const char* kCancelled = "Operace byla zrušena, soubor zůstal beze změny";
inline constexpr const char* kPartlyDestroyed = "Zničení souboru se přerušilo, soubor je zničen jen zčásti";
inline constexpr const char* kChangedMeanwhile = "Soubor mezitím změnil jiný program, nic nebylo přepsáno";

// The steps of the work, shown while they run.
inline constexpr const char* kStepFingerprint = "Počítám otisk souboru…";
inline constexpr const char* kStepDeriveKey = "Odvozuji klíč…";
inline constexpr const char* kStepEncrypt = "Šifruji…";
inline constexpr const char* kStepDecrypt = "Dešifruji…";
inline constexpr const char* kStepVerify = "Ověřuji otisk…";
inline constexpr const char* kStepOverwrite = "Přepisuji obsah souboru…";

inline constexpr const char* kFolderMovedMeanwhile =
    "Složku souboru mezitím přesunul nebo nahradil jiný program, nic nebylo zapsáno";

}  // namespace engine::msg
