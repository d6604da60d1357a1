// setarPageControlParent over a tree of windowed controls: a small control
// model implementing the interface the suite's toolkits implement (the
// Windows suite also runs it over real Win32 windows, native_controls_test).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dmutils/dm_utils.h"
#include "platform/controls.h"

namespace vt {
namespace {

using platform::ControlKind;

class Control final : public platform::WindowedControl {
public:
  Control(std::string name, ControlKind kind, Control* parent) : name(std::move(name)), kind_(kind), parent_(parent) {}
  ControlKind kind() const override { return kind_; }
  WindowedControl* parent() const override { return parent_; }
  platform::ScreenPoint clientToScreen(platform::ScreenPoint p) const override { return p; }
  void setActivePage(WindowedControl& sheet) override {
    auto& page = static_cast<Control&>(sheet);
    if (kind_ == ControlKind::PageControl && page.parent_ == this) activePage = page.name;
  }
  std::string name;
  std::string activePage;

private:
  ControlKind kind_;
  Control* parent_;
};

class Tree {
public:
  Control& add(const std::string& name, ControlKind kind, Control* parent) {
    controls_.push_back(std::make_unique<Control>(name, kind, parent));
    return *controls_.back();
  }

private:
  std::vector<std::unique_ptr<Control>> controls_;
};

TEST(SetarPageControlParent, SelectsEveryTabSheetThatHoldsTheControl) {
  Tree t;
  Control& form = t.add("frmVenda", ControlKind::Form, nullptr);
  Control& outer = t.add("pgcPrincipal", ControlKind::PageControl, &form);
  t.add("tabGeral", ControlKind::TabSheet, &outer);
  Control& fiscal = t.add("tabFiscal", ControlKind::TabSheet, &outer);
  Control& panel = t.add("pnlFiscal", ControlKind::Other, &fiscal);
  Control& inner = t.add("pgcImpostos", ControlKind::PageControl, &panel);
  t.add("tabIcms", ControlKind::TabSheet, &inner);
  Control& pis = t.add("tabPis", ControlKind::TabSheet, &inner);
  Control& edit = t.add("edtAliquota", ControlKind::Other, &pis);
  outer.activePage = "tabGeral";
  inner.activePage = "tabIcms";

  TdmUtils::setarPageControlParent(edit);
  EXPECT_EQ(outer.activePage, "tabFiscal");
  EXPECT_EQ(inner.activePage, "tabPis");
}

TEST(SetarPageControlParent, StopsAtTheFirstFormAndBearsTreesWithoutOne) {
  Tree t;
  // A form docked in a tab sheet of another form: only the inner form's tabs change.
  Control& host = t.add("frmPrincipal", ControlKind::Form, nullptr);
  Control& hostPages = t.add("pgcHost", ControlKind::PageControl, &host);
  t.add("tabA", ControlKind::TabSheet, &hostPages);
  Control& tabB = t.add("tabB", ControlKind::TabSheet, &hostPages);
  Control& docked = t.add("frmCadastro", ControlKind::Form, &tabB);
  Control& pages = t.add("pgcCadastro", ControlKind::PageControl, &docked);
  t.add("tab1", ControlKind::TabSheet, &pages);
  Control& tab2 = t.add("tab2", ControlKind::TabSheet, &pages);
  Control& edit = t.add("edtNome", ControlKind::Other, &tab2);
  hostPages.activePage = "tabA";
  TdmUtils::setarPageControlParent(edit);
  EXPECT_EQ(pages.activePage, "tab2");
  EXPECT_EQ(hostPages.activePage, "tabA");

  // No form above: the whole chain is walked; a sheet with no page control
  // above it is left alone.
  Control& loose = t.add("tabSolta", ControlKind::TabSheet, nullptr);
  Control& loosePages = t.add("pgcSolto", ControlKind::PageControl, &loose);
  t.add("tabX", ControlKind::TabSheet, &loosePages);
  Control& tabY = t.add("tabY", ControlKind::TabSheet, &loosePages);
  Control& button = t.add("btnOk", ControlKind::Other, &tabY);
  TdmUtils::setarPageControlParent(button);
  EXPECT_EQ(loosePages.activePage, "tabY");

  // A control at the top has no parents: nothing to select.
  EXPECT_NO_THROW(TdmUtils::setarPageControlParent(host));
}

} // namespace
} // namespace vt
