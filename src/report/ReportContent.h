// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The texts of the report's title page that are the program's own content: who made the
// software and the questionnaire (by role, with the project's mailboxes) and the documentation
// a reader is pointed to. Their number and order are fixed by the title block.
#include <array>
#include <string_view>

namespace selvo::content {

// Author, first affiliation, second affiliation, e-mail line.
inline constexpr std::array<std::string_view, 4> kSoftwareCredits{
    "Coordinamento del software: gruppo di sviluppo BrivanSelvo",
    "Servizio di valutazione psicologica, unità per la ricerca clinica",
    "Laboratorio di informatica per la psicometria",
    "E-mail: software@example.org",
};

// Author, then affiliation and e-mail on one line.
inline constexpr std::array<std::string_view, 2> kQuestionnaireCredits{
    "Responsabile scientifico del questionario SELVO",
    "Gruppo di ricerca sul questionario SELVO - E-mail: questionario@example.org",
};

// Two on the Italian version, two on the instrument itself.
inline constexpr std::array<std::string_view, 4> kReferences{
    "- Manuale d'uso del questionario SELVO, versione italiana: somministrazione, punteggi e "
    "lettura del rapporto.",
    "- Questionario SELVO, versione italiana: note sull'adattamento e sulla validazione, "
    "documentazione del programma BrivanSelvo.",
    "- Questionario SELVO: descrizione dello strumento, dei suoi 94 item e delle due scale di "
    "risposta, documentazione del programma.",
    "- Questionario SELVO: criteri di punteggio dimensionale e categoriale, documentazione del "
    "programma.",
};

} // namespace selvo::content
