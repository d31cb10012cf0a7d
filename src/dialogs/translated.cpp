#include "dialogs/translated.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QRegularExpression>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <utility>
#include <vector>

namespace {
// The dynamic property that keeps the source of `property`.
QByteArray SourceKey(const char* property) {
  return QByteArrayLiteral("_kinemo_source_") + property;
}

constexpr char kPrefix[] = "_kinemo_source_";
} // namespace

QString Tr(const char* source) {
  return QCoreApplication::translate(kWindowContext, source);
}

QString DeviceTr(const char* source) {
  return QCoreApplication::translate(kDeviceContext, source);
}

namespace {
// The messages of the toolkit-free window made of a sentence around names and
// numbers; %1, %2 stand for these. `Reason` is the argument that is itself a
// text of the program (why a file failed), translated in turn; the others
// (paths, what the user typed) are shown as they are.
struct TSentence {
  const char* Text;
  int Reason = 0;
};
const TSentence kSentences[] = {
    {QT_TRANSLATE_NOOP("Kinemo", "La page d'aide n'a pas pu être ouverte :\n%1")},
    {QT_TRANSLATE_NOOP("Kinemo", "Erreur d'écriture dans capture.dat : le journal est fermé (%1)"),
     1},
    {QT_TRANSLATE_NOOP("Kinemo", "La vue est trop petite pour être enregistrée : il lui faut au "
                                 "moins %1 × %2 pixels.")},
    {QT_TRANSLATE_NOOP("Kinemo", "Au plus %1 images par seconde avec un pas d'intégration de %2 s "
                                 ": chaque pas donne une image au plus.")},
    {QT_TRANSLATE_NOOP("Kinemo", "%1 existe déjà. Voulez-vous le remplacer ?")},
    {QT_TRANSLATE_NOOP("Kinemo", "Impossible d'ouvrir la scène %1 : %2"), 2},
    {QT_TRANSLATE_NOOP("Kinemo", "Impossible d'enregistrer la scène %1 : %2"), 2},
    {QT_TRANSLATE_NOOP("Kinemo", "Le pas d'intégration doit être compris entre 0 et %1 s.")},
    {QT_TRANSLATE_NOOP("Kinemo",
                       "Le calcul de l'appareil %1 (%2) a divergé : ses paramètres et le pas "
                       "d'intégration le rendent instable. Il est remis à son état initial et la "
                       "simulation est mise en pause.")},
    {QT_TRANSLATE_NOOP("Kinemo", "'%1' n'est pas une valeur entière correcte")},
    {QT_TRANSLATE_NOOP("Kinemo", "'%1' n'est pas une valeur à virgule flottante correcte")},
};

// Whole messages and captions of the toolkit-free window, and the reasons it
// gives for a file that could not be read or written.
[[maybe_unused]] const char* const kMessages[] = {
    QT_TRANSLATE_NOOP("Kinemo", "capture.dat impossible à ouvrir"),
    QT_TRANSLATE_NOOP("Kinemo", "Erreur d'écriture dans capture.dat : le journal est fermé"),
    QT_TRANSLATE_NOOP("Kinemo", "Pas de vue OpenGL : l'enregistrement AVI est impossible."),
    QT_TRANSLATE_NOOP("Kinemo", "Le nombre d'images par seconde doit être supérieur à zéro."),
    QT_TRANSLATE_NOOP("Kinemo", "La durée de la capture doit être positive ou nulle."),
    QT_TRANSLATE_NOOP("Kinemo", "Mémoire insuffisante pour une image de la capture."),
    QT_TRANSLATE_NOOP("Kinemo", "Valeur entrée en dehors des limites"),
    QT_TRANSLATE_NOOP("Kinemo", "Aide"),
    QT_TRANSLATE_NOOP("Kinemo", "Erreur d'écriture"),
    QT_TRANSLATE_NOOP("Kinemo", "Erreur"),
    QT_TRANSLATE_NOOP("Kinemo", "Confirmer l'enregistrement"),
    QT_TRANSLATE_NOOP("Kinemo", "Simulation"),
    QT_TRANSLATE_NOOP("Kinemo", "fichier ou dossier introuvable"),
    QT_TRANSLATE_NOOP("Kinemo", "accès refusé"),
    QT_TRANSLATE_NOOP("Kinemo", "c'est un dossier"),
    QT_TRANSLATE_NOOP("Kinemo", "un élément du chemin n'est pas un dossier"),
    QT_TRANSLATE_NOOP("Kinemo", "plus de place sur le disque"),
    QT_TRANSLATE_NOOP("Kinemo", "quota disque dépassé"),
    QT_TRANSLATE_NOOP("Kinemo", "fichier trop grand pour le système"),
    QT_TRANSLATE_NOOP("Kinemo", "système de fichiers en lecture seule"),
    QT_TRANSLATE_NOOP("Kinemo", "nom de fichier trop long"),
    QT_TRANSLATE_NOOP("Kinemo", "erreur d'entrée-sortie"),
    QT_TRANSLATE_NOOP("Kinemo", "aucun programme ne lit ce tube ou ce périphérique"),
};

// A sentence as an expression that finds its pieces in a message.
QRegularExpression SentenceExpression(const QString& sentence) {
  static const QRegularExpression marker(QStringLiteral("%[1-9]"));
  QString pattern = QStringLiteral("^");
  qsizetype at = 0;
  for (auto it = marker.globalMatch(sentence); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    pattern += QRegularExpression::escape(sentence.mid(at, m.capturedStart() - at)) +
               QStringLiteral("(.*)");
    at = m.capturedEnd();
  }
  pattern += QRegularExpression::escape(sentence.mid(at)) + QStringLiteral("$");
  return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption);
}
} // namespace

QString CoreText(const std::string& text) {
  const QString source = QString::fromStdString(text);
  const QString whole = Tr(text.c_str());
  if (whole != source) return whole;
  static const std::vector<std::pair<TSentence, QRegularExpression>> sentences = [] {
    std::vector<std::pair<TSentence, QRegularExpression>> all;
    for (const TSentence& s : kSentences)
      all.emplace_back(s, SentenceExpression(QString::fromUtf8(s.Text)));
    return all;
  }();
  for (const auto& [sentence, expression] : sentences) {
    const QString translated = Tr(sentence.Text);
    if (translated == QString::fromUtf8(sentence.Text)) continue;
    const QRegularExpressionMatch m = expression.match(source);
    if (!m.hasMatch()) continue;
    QStringList pieces;
    for (int i = 1; i <= m.lastCapturedIndex(); ++i)
      pieces << (i == sentence.Reason ? Tr(m.captured(i).toUtf8().constData()) : m.captured(i));
    // At once, so that a "%1" typed by the user is never taken for a marker.
    if (pieces.size() == 1) return translated.arg(pieces[0]);
    if (pieces.size() == 2) return translated.arg(pieces[0], pieces[1]);
    return translated;
  }
  return source;
}

void SetTr(QObject* object, const char* property, const char* source) {
  object->setProperty(SourceKey(property).constData(), QByteArray(source));
  object->setProperty(property, Tr(source));
}

void SetHintTr(QWidget* widget, const char* source) {
  SetTr(widget, "toolTip", source);
  SetTr(widget, "statusTip", source);
}

namespace {
void RetranslateOne(QObject* object) {
  const QList<QByteArray> names = object->dynamicPropertyNames();
  for (const QByteArray& name : names) {
    if (!name.startsWith(kPrefix)) continue;
    const QByteArray source = object->property(name.constData()).toByteArray();
    const QByteArray property = name.mid(static_cast<qsizetype>(sizeof kPrefix - 1));
    object->setProperty(property.constData(), Tr(source.constData()));
  }
  // A label placed by hand (no layout) takes the size of its new text.
  if (auto* label = qobject_cast<QLabel*>(object))
    if (label->parentWidget() && !label->parentWidget()->layout()) label->adjustSize();
}
} // namespace

void Retranslate(QObject* root) {
  RetranslateOne(root);
  for (QObject* child : root->findChildren<QObject*>())
    RetranslateOne(child);
}
