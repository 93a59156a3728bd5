// SPDX-License-Identifier: GPL-3.0-or-later

#include "menu/ui/MenuTexts.h"

namespace selvo {

namespace {
constexpr const char* kCrLf = "\r\n";

constexpr const char* kReferenceAdaptation =
    "Manuale d'uso del questionario SELVO, versione italiana: adattamento italiano, "
    "istruzioni di somministrazione e criteri di siglatura. Documentazione del programma "
    "Brivan SELVO.";
constexpr const char* kReferenceValidity =
    "Questionario SELVO: validità e concordanza diagnostica con la valutazione clinica. "
    "Note tecniche allegate alla documentazione del programma Brivan SELVO.";

constexpr const char* kSalutation = "Gentile Signora, Gentile Signore,";
constexpr const char* kThanks =
    "    desideriamo ringraziarLa per aver accettato di partecipare a questa ricerca e per il "
    "tempo che vorrà dedicarle.";
constexpr const char* kStudyTopic =
    "Lo studio riguarda alcuni aspetti generali della personalità, cioè il modo in cui "
    "ciascuno di noi pensa, sente e si comporta nella vita di tutti i giorni.";
constexpr const char* kStudyAim =
    "Il Suo aiuto ci permetterà di comprendere meglio alcuni problemi importanti.";
constexpr const char* kNoRightAnswers =
    "Non esistono risposte giuste o sbagliate e non ci sono domande trabocchetto. "
    "Le chiediamo di rispondere con sincerità e di non tralasciare nessuna affermazione.";
constexpr const char* kFirstAnswer =
    "Dia la prima risposta che Le viene in mente, senza soffermarsi troppo a lungo su ciascuna "
    "frase.";
constexpr const char* kAnonymity =
    "Il questionario è anonimo. I dati raccolti saranno trasformati in numeri da "
    "ricercatori tenuti al segreto professionale e saranno elaborati soltanto in forma "
    "statistica, per fini esclusivamente scientifici.";
constexpr const char* kClosing = "Grazie per la collaborazione!";
constexpr const char* kHowToAnswer =
    "Risponda a ogni affermazione indicando quanto è d'accordo sulla scala da 1 "
    "(completamente in disaccordo) a 7 (completamente d'accordo). Quando la Sua risposta è "
    "5, 6 o 7, risponda anche alla domanda che compare accanto.";
} // namespace

std::string referencesText() {
    return std::string("References") + kCrLf + kCrLf + kReferenceAdaptation + kCrLf + kCrLf +
           kReferenceValidity;
}

std::string instructionsText() {
    std::string text;
    text += std::string(kCrLf) + kCrLf;
    text += kSalutation;
    text += std::string(kCrLf) + kCrLf;
    text += kThanks;
    text += kCrLf;
    // The topic and the aim read as one paragraph.
    text += std::string(kStudyTopic) + " " + kStudyAim;
    text += kCrLf;
    text += kNoRightAnswers;
    text += kCrLf;
    text += kFirstAnswer;
    text += kCrLf;
    text += kAnonymity;
    text += std::string(kCrLf) + kCrLf;
    text += kClosing;
    text += std::string(kCrLf) + kCrLf + kCrLf;
    text += kHowToAnswer;
    return text;
}

} // namespace selvo
