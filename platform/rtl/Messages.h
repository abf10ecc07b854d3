#pragma once
// The program's own texts, each in one place.  Patterns take printf-style arguments
// through rtl::Format.

namespace msg {

// Runtime library
inline constexpr const char* SFOpenError = "Impossible d'ouvrir le fichier %s";
inline constexpr const char* SFCreateError = "Impossible de créer le fichier %s";
inline constexpr const char* SReadError = "Erreur de lecture du flux";
inline constexpr const char* SWriteError = "Erreur d'écriture du flux";
inline constexpr const char* SAssignError = "Impossible d'affecter %s à %s";
inline constexpr const char* SOSError = "Erreur système.  Code : %d.\r\n%s";
inline constexpr const char* SOutOfResources = "Ressources système insuffisantes";
inline constexpr const char* SOperationAborted = "Opération annulée";
inline constexpr const char* SListIndexError = "Indice de liste hors limites (%d)";

// Input and output errors, by code
inline constexpr const char* SFileNotFound = "Fichier introuvable";
inline constexpr const char* SInvalidFilename = "Nom de fichier incorrect";
inline constexpr const char* STooManyOpenFiles = "Trop de fichiers ouverts";
inline constexpr const char* SAccessDenied = "Accès au fichier refusé";
inline constexpr const char* SEndOfFile = "Lecture au-delà de la fin de fichier";
inline constexpr const char* SDiskFull = "Disque plein";
inline constexpr const char* SInvalidInput = "Saisie numérique incorrecte";
inline constexpr const char* SInOutError = "Erreur E/S %d";

// Graphics
inline constexpr const char* SUnknownExtension = "Extension de fichier image inconnue (.%s)";
inline constexpr const char* SInvalidBitmap = "Image bitmap incorrecte";
inline constexpr const char* SInvalidPixelFormat = "Format de pixel incorrect";
inline constexpr const char* SScanLine = "Indice ligne hors limites";
inline constexpr const char* SInvalidIcon = "Image icône incorrecte";
inline constexpr const char* SChangeIconSize = "Impossible de modifier la taille d'une icône";
inline constexpr const char* SInvalidMetafile = "MetaFichier incorrect";
inline constexpr const char* SVMetafiles = "Métafichiers";
inline constexpr const char* SVEnhMetafiles = "Métafichiers évolués";
inline constexpr const char* SVIcons = "Icônes";
inline constexpr const char* SVBitmaps = "Bitmaps";

// JPEG
inline constexpr const char* SJPEGError = "Erreur JPEG #%d";
inline constexpr const char* SJPEGImageFile = "Fichier image JPEG";
inline constexpr const char* SChangeJPGSize = "Impossible de modifier la taille d'une image JPEG";
inline constexpr const char* SJPEGChangeWhileDecoding = "Impossible de modifier une image JPEG pendant son décodage";

// Settings
inline constexpr const char* SIniFileWriteError = "Impossible d'écrire dans %s";

// Help
inline constexpr const char* SHelpNotFoundSuffix = " introuvable.";
inline constexpr const char* SHelpCannotShowPrefix = "Impossible d'afficher le fichier ";

}  // namespace msg
