// The regression window's File > "Save run settings..." and "Open run
// settings...": the table and output files, the model, the randomisations
// and the check boxes.

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "regress_window.h"
#include "settings_file_actions.h"

namespace torvi::gui {

namespace {

// Selects the entry of `list` for variable k alone.
void select_variable(QListWidget* list, int k) {
  list->clearSelection();
  for (int i = 0; i < list->count(); ++i)
    if (RegressWindow::variable_number(list->item(i)) == k) list->item(i)->setSelected(true);
}

}  // namespace

regress::MantelSettingsFile RegressWindow::settings() const {
  regress::MantelSettingsFile s;
  s.input = input_path_.toStdString();
  s.output = output_path_.toStdString();
  if (ListBox3->count() > 0) s.dependent = variable_number(ListBox3->item(0));
  for (int i = 0; i < ListBox2->count(); ++i) s.explanatory.push_back(variable_number(ListBox2->item(i)));
  s.randomisations = SpinEdit1->value();
  s.distance = !CheckBox1->isHidden() && CheckBox1->isChecked();
  s.save_residuals = CheckBox2->isChecked();
  s.json = CB_json->isChecked();
  return s;
}

void RegressWindow::save_settings_clicked() {
  save_settings_as(dialogs_, settings(), rng_, regress::write_mantel_settings_file);
}

// Opens the settings' table as File > Open would, once its header shows
// that the settings fit it; false (and nothing changed) otherwise.
bool RegressWindow::open_settings_table(const regress::MantelSettingsFile& s, const QString& path) {
  std::string title, problem;
  regress::ColumnHeader header;
  if (s.input.empty()) {
    if (s.dependent > 0 || !s.explanatory.empty()) problem = "input: a model needs the table it was chosen on";
  } else {
    try {
      header = regress::read_column_header(s.input, [&](const std::string& t) { title = t; });
      problem = regress::mantel_settings_problem(s, header);
    } catch (const std::exception& e) {
      problem = e.what();
    }
  }
  if (!problem.empty()) {
    dialogs_.message(true, "The settings file " + path + " cannot be used: " + QString::fromStdString(problem));
    return false;
  }
  try {
    if (!s.input.empty() && !s.output.empty()) append_section(s.output, regress::opening_lines(title, s.input));
  } catch (const OutputError& e) {
    dialogs_.message(true, QString::fromStdString(e.what()));
    return false;  // the window keeps the table it had
  }
  forget_file();
  output_path_ = QString::fromStdString(s.output);
  if (s.input.empty()) return true;
  header_ = std::move(header);
  show_table(QString::fromStdString(s.input));
  return true;
}

// Moves the variables as the arrows would: the dependent one, then the
// explanatory ones in the order of the model.
void RegressWindow::choose_model(int dependent, const std::vector<int>& explanatory) {
  if (dependent > 0) {
    select_variable(ListBox1, dependent);
    Button3Click();
  }
  for (int k : explanatory) {
    select_variable(ListBox1, k);
    Button1Click();
  }
  ListBox1->clearSelection();
}

void RegressWindow::open_settings_clicked() {
  QString path;
  const std::optional<regress::MantelSettingsFile> s =
      open_settings_from(dialogs_, regress::read_mantel_settings_file, &path);
  if (!s || !open_settings_table(*s, path)) return;
  choose_model(s->dependent, s->explanatory);
  SpinEdit1->setValue(s->randomisations);
  CheckBox1->setChecked(s->distance);
  CheckBox2->setChecked(s->save_residuals);
  CB_json->setChecked(s->json);
  if (s->seeds) rng_ = *s->seeds;
}

}  // namespace torvi::gui
