// SPDX-License-Identifier: GPL-3.0-or-later

#include "questionnaire/content/Content.h"

namespace selvo::content {

using namespace questionnaire;

namespace {

// The report quotes these next to the subject's name: each heading gives the general
// description and the number of criteria the diagnosis needs, each entry one criterion in its
// usual order. Written in a neutral, descriptive register.
// clang-format off
constexpr std::string_view kParanoid[] = {
    "PARANOID: Quadro pervasivo di diffidenza e sospettosità verso gli altri, le cui intenzioni vengono interpretate come malevole. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno quattro dei criteri seguenti:",
    "1)  Sospetto, senza basi sufficienti, di essere sfruttati, danneggiati o ingannati dagli altri.",
    "2)  Preoccupazione per dubbi ingiustificati sulla lealtà o sull'affidabilità di amici e colleghi.",
    "3)  Riluttanza a confidarsi con gli altri, per il timore ingiustificato che le informazioni vengano usate a proprio danno.",
    "4)  Tendenza a cogliere in osservazioni o eventi innocui significati nascosti, umilianti o minacciosi.",
    "5)  Rancore persistente: offese, torti o mancanze di riguardo non vengono perdonati.",
    "6)  Percezione di attacchi alla propria persona o reputazione che agli altri non appaiono, con pronte reazioni di rabbia o contrattacco.",
    "7)  Sospetti ricorrenti e ingiustificati sulla fedeltà del coniuge o del partner.",
};

constexpr std::string_view kSchizoid[] = {
    "SCHIZOID: Quadro pervasivo di distacco dalle relazioni sociali e di gamma ristretta nell'espressione delle emozioni nei rapporti con gli altri. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno quattro dei criteri seguenti:",
    "1)  Assenza di desiderio e di piacere per le relazioni strette, compresa l'appartenenza a una famiglia.",
    "2)  Scelta quasi costante di attività solitarie.",
    "3)  Interesse scarso o nullo per le esperienze sessuali con un'altra persona.",
    "4)  Piacere tratto da poche attività, o da nessuna.",
    "5)  Mancanza di amici stretti o di confidenti, a parte i parenti di primo grado.",
    "6)  Apparente indifferenza alle lodi o alle critiche altrui.",
    "7)  Freddezza emotiva, distacco o affettività appiattita.",
};

constexpr std::string_view kSchizotypal[] = {
    "SCHIZOTYPAL: Quadro pervasivo di carenze sociali e interpersonali, segnato da forte disagio e ridotta capacità nelle relazioni strette, e da distorsioni cognitive o percettive ed eccentricità del comportamento. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno cinque dei criteri seguenti:",
    "1)  Idee di riferimento (escluse le idee deliranti di riferimento).",
    "2)  Convinzioni strane o pensiero magico che influenzano il comportamento e non sono in linea con le norme culturali del proprio ambiente (per esempio superstizione, fiducia nella chiaroveggenza, nella telepatia o in un sesto senso).",
    "3)  Esperienze percettive insolite, comprese illusioni che riguardano il corpo.",
    "4)  Pensiero e linguaggio strani (per esempio vaghi, circostanziali, metaforici, troppo elaborati o stereotipati).",
    "5)  Sospettosità o ideazione paranoide.",
    "6)  Affettività inappropriata o ristretta.",
    "7)  Comportamento o aspetto strano, eccentrico o peculiare.",
    "8)  Mancanza di amici stretti o di confidenti, a parte i parenti di primo grado.",
    "9)  Ansia sociale eccessiva, che non diminuisce con la familiarità e tende a legarsi a timori paranoidi più che a giudizi negativi su di sé.",
};

// Entry 8, the conduct disorder before 15, is added by the loader from item 86.
constexpr std::string_view kAntisocial[] = {
    "ANTISOCIAL: Quadro pervasivo di inosservanza e violazione dei diritti altrui, presente dall'età di 15 anni e indicato da almeno tre dei criteri seguenti. Si richiedono inoltre un'età di almeno 18 anni e segni di un disturbo della condotta iniziato prima dei 15 anni (voce CD); il comportamento antisociale non compare soltanto nel corso di una schizofrenia o di un episodio maniacale.",
    "1)  Mancato rispetto delle norme sociali che riguardano la legge, con ripetute condotte che possono portare all'arresto.",
    "2)  Disonestà: menzogne ripetute, uso di falsi nomi, raggiri ai danni di altri per profitto o per piacere personale.",
    "3)  Impulsività o incapacità di pianificare.",
    "4)  Irritabilità e aggressività, con ripetuti scontri fisici o aggressioni.",
    "5)  Noncuranza spericolata della sicurezza propria o altrui.",
    "6)  Irresponsabilità costante, con ripetuta incapacità di mantenere un'attività lavorativa continuativa o di far fronte agli impegni economici.",
    "7)  Mancanza di rimorso: indifferenza o giustificazioni dopo aver ferito, maltrattato o derubato qualcuno.",
};

constexpr std::string_view kBorderline[] = {
    "BORDERLINE: Quadro pervasivo di instabilità delle relazioni interpersonali, dell'immagine di sé e dell'umore, con marcata impulsività. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno cinque dei criteri seguenti:",
    "1)  Sforzi disperati per evitare un abbandono reale o immaginato (esclusi i comportamenti suicidari o autolesivi del criterio 5).",
    "2)  Relazioni interpersonali instabili e intense, che oscillano tra gli estremi dell'idealizzazione e della svalutazione.",
    "3)  Disturbo dell'identità: immagine di sé o senso di sé marcatamente e persistentemente instabili.",
    "4)  Impulsività in almeno due ambiti potenzialmente dannosi per sé, come spese, sesso, uso di sostanze, guida spericolata, abbuffate (esclusi i comportamenti del criterio 5).",
    "5)  Comportamenti, gesti o minacce suicidari ricorrenti, oppure comportamenti autolesivi.",
    "6)  Instabilità affettiva dovuta a una marcata reattività dell'umore (episodi intensi di disforia, irritabilità o ansia, che di solito durano poche ore e solo di rado più di qualche giorno).",
    "7)  Sentimenti cronici di vuoto.",
    "8)  Rabbia intensa e inappropriata, o difficoltà a controllarla (per esempio frequenti scatti d'ira, rabbia costante, ripetuti scontri fisici).",
    "9)  Ideazione paranoide transitoria legata allo stress, oppure gravi sintomi dissociativi.",
};

constexpr std::string_view kHistrionic[] = {
    "HISTRIONIC: Quadro pervasivo di emotività eccessiva e di ricerca di attenzione. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno cinque dei criteri seguenti:",
    "1)  Disagio nelle situazioni in cui non si è al centro dell'attenzione.",
    "2)  Rapporti con gli altri spesso segnati da comportamenti sessualmente seduttivi o provocanti e inappropriati.",
    "3)  Espressione delle emozioni rapidamente mutevole e superficiale.",
    "4)  Uso costante dell'aspetto fisico per attirare l'attenzione su di sé.",
    "5)  Modo di parlare eccessivamente impressionistico e povero di dettagli.",
    "6)  Autodrammatizzazione, teatralità ed espressione esagerata delle emozioni.",
    "7)  Suggestionabilità: facilità a lasciarsi influenzare dagli altri o dalle circostanze.",
    "8)  Tendenza a considerare le relazioni più intime di quanto siano in realtà.",
};

constexpr std::string_view kNarcissistic[] = {
    "NARCISSISTIC: Quadro pervasivo di grandiosità (nella fantasia o nel comportamento), bisogno di ammirazione e mancanza di empatia. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno cinque dei criteri seguenti:",
    "1)  Senso grandioso della propria importanza (per esempio esagerazione dei propri risultati e talenti, attesa di essere riconosciuti come superiori senza risultati adeguati).",
    "2)  Assorbimento in fantasie di successo, potere, brillantezza, bellezza o amore ideale senza limiti.",
    "3)  Convinzione di essere una persona speciale e unica, che può essere capita solo da persone o istituzioni speciali o di alto livello, o che solo con queste dovrebbe accompagnarsi.",
    "4)  Richiesta di ammirazione eccessiva.",
    "5)  Convinzione che tutto sia dovuto: attesa irragionevole di trattamenti di favore o di un'adesione automatica ai propri desideri.",
    "6)  Sfruttamento nei rapporti interpersonali: approfittarsi degli altri per raggiungere i propri scopi.",
    "7)  Mancanza di empatia: riluttanza a riconoscere i sentimenti e i bisogni altrui o a identificarsi con essi.",
    "8)  Invidia frequente verso gli altri, o convinzione di essere invidiati.",
    "9)  Comportamenti o atteggiamenti arroganti e presuntuosi.",
};

constexpr std::string_view kAvoidant[] = {
    "AVOIDANT: Quadro pervasivo di inibizione sociale, sentimenti di inadeguatezza e ipersensibilità al giudizio negativo. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno quattro dei criteri seguenti:",
    "1)  Evitamento delle attività lavorative che comportano contatti interpersonali importanti, per timore di critiche, disapprovazione o rifiuto.",
    "2)  Riluttanza a entrare in relazione con le persone senza la certezza di piacere.",
    "3)  Riservatezza nelle relazioni intime, per timore della vergogna o del ridicolo.",
    "4)  Preoccupazione di essere criticati o rifiutati nelle situazioni sociali.",
    "5)  Inibizione nelle situazioni interpersonali nuove, per sentimenti di inadeguatezza.",
    "6)  Visione di sé come persona socialmente inetta, poco attraente o inferiore agli altri.",
    "7)  Riluttanza insolita a correre rischi personali o a intraprendere attività nuove, per timore di trovarsi in imbarazzo.",
};

constexpr std::string_view kDependent[] = {
    "DEPENDENT: Bisogno pervasivo ed eccessivo di essere accuditi, che porta a comportamenti sottomessi e dipendenti e al timore della separazione. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno cinque dei criteri seguenti:",
    "1)  Difficoltà a prendere le decisioni quotidiane senza un'eccessiva quantità di consigli e rassicurazioni da parte degli altri.",
    "2)  Bisogno che altri si assumano la responsabilità della maggior parte degli ambiti importanti della propria vita.",
    "3)  Difficoltà a esprimere disaccordo con gli altri, per timore di perderne il sostegno o l'approvazione.",
    "4)  Difficoltà a iniziare progetti o a fare le cose in modo autonomo, per mancanza di fiducia nel proprio giudizio o nelle proprie capacità più che per mancanza di motivazione o di energia.",
    "5)  Tendenza a fare di tutto per ottenere accudimento e sostegno dagli altri, fino a offrirsi per compiti sgradevoli.",
    "6)  Disagio o senso di impotenza quando si è soli, per il timore esagerato di non saper badare a se stessi.",
    "7)  Ricerca urgente di un'altra relazione che dia accudimento e sostegno quando finisce una relazione stretta.",
    "8)  Preoccupazione irrealistica di essere lasciati a badare a se stessi.",
};

constexpr std::string_view kObsessiveCompulsive[] = {
    "OBSESSIVE-COMPULSIVE: Quadro pervasivo di preoccupazione per l'ordine, il perfezionismo e il controllo mentale e interpersonale, a scapito di flessibilità, apertura ed efficienza. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno quattro dei criteri seguenti:",
    "1)  Preoccupazione per dettagli, regole, elenchi, ordine, organizzazione o programmi, al punto da perdere di vista lo scopo principale dell'attività.",
    "2)  Perfezionismo che ostacola il completamento dei compiti.",
    "3)  Dedizione eccessiva al lavoro e alla produttività, fino a escludere lo svago e le amicizie, senza che vi sia un'evidente necessità economica.",
    "4)  Eccessiva coscienziosità, scrupolosità e rigidità in materia di morale, etica o valori, non spiegate dall'appartenenza culturale o religiosa.",
    "5)  Incapacità di disfarsi di oggetti consumati o inutili, anche privi di valore affettivo.",
    "6)  Riluttanza a delegare compiti o a lavorare con altri, a meno che questi si adeguino esattamente al proprio modo di fare le cose.",
    "7)  Modo avaro di spendere, per sé e per gli altri: il denaro viene messo da parte in vista di future catastrofi.",
    "8)  Rigidità e testardaggine.",
};

constexpr std::string_view kDepressive[] = {
    "NOS-DEPRESSIVE: Quadro pervasivo di pensieri e comportamenti depressivi. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno cinque dei criteri seguenti; non compare soltanto nel corso di episodi depressivi maggiori e non è spiegato meglio da un disturbo distimico.",
    "1)  Umore abituale dominato da abbattimento, tristezza, mancanza di allegria e di gioia, infelicità.",
    "2)  Concetto di sé centrato su convinzioni di inadeguatezza e di scarso valore, con bassa autostima.",
    "3)  Atteggiamento critico, colpevolizzante e svalutante verso se stessi.",
    "4)  Tendenza a rimuginare e a preoccuparsi.",
    "5)  Atteggiamento negativo, critico e giudicante verso gli altri.",
    "6)  Pessimismo.",
    "7)  Tendenza a provare sensi di colpa o rimorso.",
};

constexpr std::string_view kPassiveAggressive[] = {
    "NOS PASSIVE-AGGRESSIVE: Quadro pervasivo di atteggiamenti negativistici e di resistenza passiva alle richieste di un rendimento adeguato. Inizia entro la prima età adulta, compare in contesti diversi ed è indicato da almeno quattro dei criteri seguenti; non compare soltanto nel corso di episodi depressivi maggiori e non è spiegato meglio da un disturbo distimico.",
    "1)  Resistenza passiva allo svolgimento dei compiti sociali e lavorativi abituali.",
    "2)  Lamentele di essere incompresi e poco apprezzati dagli altri.",
    "3)  Atteggiamento imbronciato e polemico.",
    "4)  Critiche e disprezzo irragionevoli verso chi ha autorità.",
    "5)  Invidia e risentimento espressi verso chi appare più fortunato.",
    "6)  Lamentele esagerate e continue per le proprie disgrazie.",
    "7)  Alternanza tra sfida ostile e pentimento.",
};
// clang-format on

// Indexed by Disorder.
constexpr std::span<const std::string_view> kTables[] = {
    kParanoid,     kSchizoid, kSchizotypal, kAntisocial,          kBorderline, kHistrionic,
    kNarcissistic, kAvoidant, kDependent,   kObsessiveCompulsive, kDepressive, kPassiveAggressive,
};
static_assert(std::size(kTables) == kDisorderCount);

} // namespace

std::span<const std::string_view> criteriaTexts(Disorder disorder) {
    return kTables[disorder];
}

} // namespace selvo::content
