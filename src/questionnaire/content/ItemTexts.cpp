// SPDX-License-Identifier: GPL-3.0-or-later

#include "questionnaire/content/Content.h"

namespace selvo::content {

// Items cycle through the twelve disorders (PAR SZ ST AS BDL HIS NAR AV DEP OC DE PA), one
// criterion per cycle; 85-94 complete the longer criteria lists. The tag after each item names
// the criterion it expresses, so a revision can be checked against the scoring tables.
// Statements are first person and plain: agreeing describes the trait. Adjectives with a
// grammatical gender are avoided so that every subject can agree without rewording.
// clang-format off
const std::array<std::string_view, 95> kItemTexts = {
    // Notice page.
    "Questionario SELVO§§"
    "Note e norme sull'utilizzo:§"
    "Gli item riportati in questa versione del software servono come riferimento; per la "
    "somministrazione si raccomanda di utilizzare la versione cartacea dello strumento.§§"
    "Consegna: legga ciascuna affermazione e indichi quanto è d'accordo, pensando al suo modo "
    "abituale di essere negli ultimi anni e non solo al periodo attuale. Risponda in modo "
    "spontaneo, con la prima risposta che le viene in mente, senza soffermarsi troppo a lungo. "
    "Quando si dichiara d'accordo, le verrà chiesto anche se quell'aspetto ha mai causato "
    "problemi o sofferenza a lei o ad altri. La preghiamo di rispondere a tutte le domande, "
    "senza saltarne nessuna.§§"
    "Il questionario è anonimo: le chiederemo soltanto pochi dati personali, che saranno "
    "trattati nel rispetto delle norme sulla privacy e utilizzati esclusivamente a fini "
    "scientifici.§§"
    "Grazie per la collaborazione.",

    "1) Mi capita spesso di sospettare che gli altri vogliano approfittare di me, danneggiarmi o ingannarmi, anche quando non ho prove concrete.", // PAR 1
    "2) Le relazioni strette, comprese quelle in famiglia, non mi interessano e non mi danno piacere.", // SZ 1
    "3) Mi capita spesso di pensare che discorsi, gesti o fatti casuali intorno a me siano rivolti proprio a me o abbiano per me un significato speciale.", // ST 1
    "4) Più volte ho infranto la legge con azioni per le quali si rischia l'arresto.", // AS 1
    "5) Quando temo che una persona cara possa lasciarmi, anche senza motivi reali, faccio di tutto, in modo frenetico, per impedirlo.", // BDL 1
    "6) Mi sento a disagio quando non sono al centro dell'attenzione.", // HIS 1
    "7) Penso di valere più della maggior parte delle persone e mi aspetto che gli altri lo riconoscano, anche senza aver ottenuto risultati che lo dimostrino.", // NAR 1
    "8) Evito i lavori e le attività che richiedono molti contatti con le persone, per paura di critiche, di disapprovazione o di rifiuto.", // AV 1
    "9) Faccio fatica a prendere anche le decisioni di tutti i giorni senza chiedere molti consigli e rassicurazioni agli altri.", // DEP 1
    "10) Mi concentro così tanto su dettagli, regole, elenchi, ordine o programmi che spesso perdo di vista lo scopo principale di ciò che sto facendo.", // OC 1
    "11) Il mio umore abituale è triste, cupo e senza gioia.", // DE 1
    "12) Quando mi chiedono di svolgere compiti abituali, a casa o al lavoro, tendo a resistere in modo passivo, per esempio rimandandoli o facendoli con lentezza.", // PA 1

    "13) Mi trovo spesso a dubitare della lealtà o dell'affidabilità di amici e colleghi, anche senza una vera ragione.", // PAR 2
    "14) Scelgo quasi sempre attività da svolgere in solitudine.", // SZ 2
    "15) Credo in cose insolite, come la telepatia, la chiaroveggenza o un sesto senso, e queste convinzioni influenzano il mio comportamento.", // ST 2
    "16) Mi capita spesso di mentire o di imbrogliare gli altri per il mio interesse o per divertimento.", // AS 2
    "17) I miei rapporti con le persone sono intensi e instabili: passo facilmente dall'idealizzarle al disprezzarle.", // BDL 2
    "18) Con gli altri tendo ad avere atteggiamenti seduttivi o provocanti, anche in situazioni in cui non sarebbe appropriato.", // HIS 2
    "19) Fantastico spesso di avere successo, potere, intelligenza o bellezza senza limiti, oppure di vivere un amore ideale.", // NAR 2
    "20) Mi lego a nuove persone solo quando ho la certezza di piacere loro.", // AV 2
    "21) Ho bisogno che siano altri ad assumersi la responsabilità delle scelte più importanti della mia vita.", // DEP 2
    "22) Il mio perfezionismo mi impedisce spesso di portare a termine i compiti, perché nulla mi sembra mai fatto abbastanza bene.", // OC 2
    "23) Penso spesso di essere una persona inadeguata e di valere poco.", // DE 2
    "24) Sento spesso che gli altri non mi capiscono e non mi apprezzano, e me ne lamento.", // PA 2

    "25) Evito di confidarmi con gli altri perché temo che possano usare contro di me ciò che racconto.", // PAR 3
    "26) Avere esperienze sessuali con un'altra persona mi interessa poco o per niente.", // SZ 3
    "27) Mi capita di avere percezioni insolite, per esempio sentire una presenza accanto a me o provare strane sensazioni nel corpo.", // ST 3
    "28) Agisco spesso d'impulso, senza pensare alle conseguenze e senza fare piani per il futuro.", // AS 3
    "29) L'immagine che ho di me cambia spesso e profondamente, tanto che a volte non so bene chi sono.", // BDL 3
    "30) Le mie emozioni cambiano molto in fretta e agli altri a volte sembrano superficiali.", // HIS 3
    "31) Sono una persona speciale e unica: solo persone di alto livello possono capirmi ed è con loro che dovrei stare.", // NAR 3
    "32) Anche nei rapporti più intimi tendo a trattenermi, per paura della vergogna o del ridicolo.", // AV 3
    "33) Faccio fatica a esprimere disaccordo con gli altri, per paura di perdere il loro appoggio o la loro approvazione.", // DEP 3
    "34) Mi dedico al lavoro e al rendimento a tal punto da rinunciare al tempo libero e alle amicizie, anche quando non ne ho necessità economica.", // OC 3
    "35) Tendo a criticarmi, a incolparmi e a sminuirmi.", // DE 3
    "36) Sono spesso di cattivo umore e tendo a discutere e a polemizzare.", // PA 3

    "37) Nelle osservazioni o nei fatti più innocui colgo spesso significati nascosti, offensivi o minacciosi nei miei confronti.", // PAR 4
    "38) Poche attività, o forse nessuna, mi danno piacere.", // SZ 4
    "39) Gli altri trovano il mio modo di pensare e di parlare strano, vago o difficile da seguire.", // ST 4
    "40) Mi irrito facilmente e mi capita spesso di fare a botte o di aggredire qualcuno.", // AS 4
    "41) Faccio spesso cose impulsive che possono danneggiarmi, come spendere troppo, bere o usare droghe, guidare in modo spericolato, abbuffarmi o avere rapporti sessuali a rischio.", // BDL 4
    "42) Curo il mio aspetto fisico soprattutto per attirare su di me l'attenzione degli altri.", // HIS 4
    "43) Ho un grande bisogno dell'ammirazione degli altri.", // NAR 4
    "44) Quando sono con altre persone, mi assilla il pensiero di ricevere critiche o rifiuti.", // AV 4
    "45) Faccio fatica a iniziare progetti o a fare le cose per conto mio, perché non ho fiducia nel mio giudizio e nelle mie capacità.", // DEP 4
    "46) Su questioni di morale, di etica o di valori ho principi rigidissimi e non ammetto eccezioni, né per me né per gli altri.", // OC 4
    "47) Passo molto tempo a rimuginare e a preoccuparmi.", // DE 4
    "48) Critico e disprezzo chi ha autorità su di me, anche quando non ne ho un vero motivo.", // PA 4

    "49) Porto rancore a lungo: perdono con difficoltà un'offesa, un torto o una mancanza di rispetto.", // PAR 5
    "50) A parte i miei familiari più stretti, non ho amici intimi né persone a cui confidarmi.", // SZ 5 and ST 8
    "51) Ho spesso il sospetto che qualcuno mi tenga d'occhio o trami qualcosa contro di me.", // ST 5
    "52) Mi espongo spesso a situazioni pericolose, senza preoccuparmi della mia sicurezza o di quella degli altri.", // AS 5
    "53) Più di una volta ho minacciato di togliermi la vita o ho compiuto gesti o tentativi in questo senso.", // BDL 5, suicidal behaviour
    "54) Quando parlo, esprimo impressioni forti ma generiche, senza entrare nei dettagli.", // HIS 5
    "55) Mi aspetto di ricevere un trattamento di favore e che gli altri assecondino subito i miei desideri.", // NAR 5
    "56) Quando incontro persone nuove mi trattengo e mi blocco, perché non mi sento all'altezza.", // AV 5
    "57) Pur di ricevere cure e sostegno dagli altri, arrivo a offrirmi di fare anche cose che mi risultano sgradevoli.", // DEP 5
    "58) Conservo oggetti rotti, consumati o inutili, anche se privi di valore affettivo, perché non riesco a separarmene.", // OC 5
    "59) Tendo a vedere il lato negativo delle persone e a giudicarle con severità.", // DE 5
    "60) Provo invidia e risentimento verso chi sembra più fortunato di me.", // PA 5

    "61) Mi accorgo spesso di attacchi alla mia reputazione che gli altri non notano, e reagisco subito con rabbia o contrattaccando.", // PAR 6
    "62) Le lodi e le critiche degli altri mi lasciano indifferente.", // SZ 6
    "63) Le mie reazioni emotive sono spesso scarse, oppure poco adatte alla situazione in cui mi trovo.", // ST 6
    "64) Mi capita spesso di venir meno alle mie responsabilità, sul lavoro o nel pagare i debiti.", // AS 6
    "65) Mi è capitato più volte di farmi del male di proposito, per esempio tagliandomi o bruciandomi.", // BDL 5, self-harm
    "66) Esprimo le mie emozioni in modo teatrale ed esagerato.", // HIS 6
    "67) Approfitto degli altri per raggiungere i miei scopi.", // NAR 6
    "68) Mi considero una persona socialmente impacciata, poco attraente o inferiore agli altri.", // AV 6
    "69) La solitudine mi mette a disagio e mi fa sentire senza difese, perché temo di non saper badare a me.", // DEP 6
    "70) Affido compiti ad altri o lavoro con loro solo se accettano di fare le cose esattamente a modo mio.", // OC 6
    "71) Sono una persona pessimista: di solito mi aspetto che le cose vadano male.", // DE 6
    "72) Mi lamento di continuo, e in modo esagerato, della mia sfortuna.", // PA 6

    "73) Sospetto spesso, senza veri motivi, che il mio partner mi sia infedele.", // PAR 7
    "74) Gli altri mi descrivono come una persona fredda e distaccata, che mostra poche emozioni.", // SZ 7
    "75) Il mio modo di comportarmi o di vestirmi viene spesso giudicato strano o eccentrico.", // ST 7
    "76) Se mi capita di ferire, maltrattare o derubare qualcuno, di solito non provo rimorso oppure trovo una giustificazione.", // AS 7
    "77) Il mio umore cambia molto facilmente: ho momenti intensi di tristezza, irritazione o ansia che durano qualche ora.", // BDL 6
    "78) Mi lascio influenzare facilmente dagli altri o dalle circostanze.", // HIS 7
    "79) Mi interessa poco capire i sentimenti e i bisogni degli altri o mettermi nei loro panni.", // NAR 7
    "80) Evito di correre rischi personali o di iniziare attività nuove, per paura di trovarmi in imbarazzo.", // AV 7
    "81) Quando una relazione importante finisce, cerco subito qualcun altro che si prenda cura di me e mi sostenga.", // DEP 7
    "82) Spendo il meno possibile, per me e per gli altri, perché voglio mettere da parte il denaro per eventuali disgrazie future.", // OC 7
    "83) Provo spesso sensi di colpa o rimorso.", // DE 7
    "84) Passo da momenti di sfida e di ostilità a momenti in cui mi pento e chiedo scusa.", // PA 7

    "85) Stare con gli altri mi mette molta ansia, anche con chi conosco da tempo, perché temo che abbiano cattive intenzioni verso di me.", // ST 9
    "86) Prima dei 15 anni ho più volte marinato la scuola, fatto risse, rubato, danneggiato cose altrui, passato la notte fuori casa di nascosto o fatto del male ad animali o persone.", // AS conduct disorder before 15
    "87) Provo da molto tempo un senso di vuoto dentro di me.", // BDL 7
    "88) Tendo a considerare i miei rapporti con le persone più intimi di quanto siano in realtà.", // HIS 8
    "89) Provo spesso invidia per gli altri, oppure penso che siano gli altri a invidiarmi.", // NAR 8
    "90) Mi preoccupa molto l'idea di poter rimanere senza nessuno che si prenda cura di me.", // DEP 8
    "91) Sono una persona rigida e ostinata.", // OC 8
    "92) Provo spesso una rabbia intensa e sproporzionata, che faccio fatica a controllare.", // BDL 8
    "93) Con gli altri ho spesso un atteggiamento arrogante e di superiorità.", // NAR 9
    "94) Sotto forte stress mi capita, per qualche tempo, di avere l'impressione che ciò che mi circonda non sia reale, oppure di sospettare di tutti.", // BDL 9
};
// clang-format on

} // namespace selvo::content
