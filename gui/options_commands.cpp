#include "options_commands.h"

#include <algorithm>

#include <QAction>

#include "torvi/data_files.h"

namespace torvi::gui {

namespace {

constexpr size_t kMinLoci = 1;
constexpr size_t kMinSamples = 2;

const PickCaptions kLociCaptions{"Tfpickloci", "Pick Loci", "Loci to choose from :", "Chosen loci :", false};
const PickCaptions kSamplesCaptions{"TFpickpop", "Samples to use", "Original samples", "Samples to keep", true};

std::string default_label(int s) { return ("pop" + std::to_string(s)).substr(0, kLabelLength); }

// The flags a pick leaves: every entry of the right-hand list, nothing else.
void flags_from(const PickLists& lists, std::vector<uint8_t>& flags) {
  std::fill(flags.begin(), flags.end(), 0);
  for (const PickEntry& e : lists.right) flags[static_cast<size_t>(e.number)] = 1;
}

bool all_set(const std::vector<uint8_t>& flags) {
  return std::all_of(flags.begin() + 1, flags.end(), [](uint8_t f) { return f != 0; });
}

}  // namespace

OptionsCommands::OptionsCommands(UserDialogs& dialogs, Host& host, QAction* labels, QAction* loci, QAction* samples,
                         QObject* parent)
    : QObject(parent), dialogs_(dialogs), host_(host), labels_(labels), loci_(loci), samples_(samples) {
  for (QAction* a : {labels_, loci_, samples_}) a->setCheckable(true);
  connect(labels_, &QAction::triggered, this, &OptionsCommands::label_file_clicked);
  connect(loci_, &QAction::triggered, this, &OptionsCommands::loci_clicked);
  connect(samples_, &QAction::triggered, this, &OptionsCommands::samples_clicked);
}

void OptionsCommands::reset(const DataSet& header) {
  np_ = header.np;
  locus_names_ = header.locus_names;
  selection_.reset(header.np, header.nl);
  selection_.sample_names.resize(std::max(selection_.sample_names.size(), static_cast<size_t>(np_) + 1));
  for (QAction* a : {labels_, loci_, samples_}) a->setChecked(false);
}

Selection OptionsCommands::selection() const {
  Selection s = selection_;
  s.loci_checked = loci_->isChecked();
  s.samples_checked = samples_->isChecked();
  return s;
}

void OptionsCommands::set_selection(const Selection& selection, bool labels_checked) {
  selection_.locus_selected = selection.locus_selected;
  selection_.sample_selected = selection.sample_selected;
  if (labels_checked) selection_.sample_names = selection.sample_names;
  loci_->setChecked(selection.loci_checked);
  samples_->setChecked(selection.samples_checked);
  labels_->setChecked(labels_checked);
}

bool OptionsCommands::labels_checked() const { return labels_->isChecked(); }

void OptionsCommands::set_default_labels() {
  if (labels_checked()) return;
  for (int s = 1; s <= np_; ++s) selection_.sample_names[s] = default_label(s);
}

QString OptionsCommands::sample_line(int number, const std::string& label) const {
  return QString::number(number) + ". " + QString::fromStdString(label);
}

std::vector<PickEntry> OptionsCommands::analysed_samples() const {
  std::vector<PickEntry> out;
  for (int s = 1; s <= np_; ++s) {
    if (samples_->isChecked() && !selection_.sample_kept(s)) continue;
    const int number = static_cast<int>(out.size()) + 1;
    out.push_back({number, sample_line(number, labels_checked() ? selection_.sample_names[s] : default_label(number))});
  }
  return out;
}

void OptionsCommands::label_file_clicked() {
  // The action has toggled its mark already.
  const bool was_checked = !labels_->isChecked();
  const auto path = dialogs_.open_label_file();
  if (!path) return;
  // A file that cannot be read leaves the labels and the mark as they were.
  if (!read_label_file(host_, path->toStdString(), np_, selection_.sample_names)) labels_->setChecked(was_checked);
}

void OptionsCommands::pick_flags(const PickCaptions& captions, PickLists lists, size_t minimum,
                             std::vector<uint8_t>& flags, QAction* mark) {
  // The action has toggled its mark: only this command sets it.
  mark->setChecked(!mark->isChecked());
  // The dialog returns until `minimum` entries are chosen. Closed another
  // way than by OK (the loci dialog's frame, the samples dialog's Cancel) it
  // leaves the choice it found, never one with too few entries.
  const std::vector<uint8_t> before = flags;
  do {
    if (dialogs_.pick(captions, lists) != PickAnswer::ok) {
      flags = before;
      return;
    }
    flags_from(lists, flags);
  } while (lists.right.size() < minimum);
  if (!all_set(flags)) mark->setChecked(true);
}

void OptionsCommands::loci_clicked() {
  PickLists lists;
  for (int l = 1; l < static_cast<int>(locus_names_.size()); ++l)
    lists.left.push_back({l, QString::number(l) + ". " + QString::fromStdString(locus_names_[l])});
  pick_flags(kLociCaptions, std::move(lists), kMinLoci, selection_.locus_selected, loci_);
}

void OptionsCommands::samples_clicked() {
  PickLists lists;
  for (int s = 1; s <= np_; ++s) lists.left.push_back({s, sample_line(s, selection_.sample_names[s])});
  pick_flags(kSamplesCaptions, std::move(lists), kMinSamples, selection_.sample_selected, samples_);
}

}  // namespace torvi::gui
