// The windows' table of their widgets against the widgets yarx really
// makes: built in this process, each widget found by its name has the
// window the X driver finds at the widget's place in the table.

#include <string>
#include <vector>

#include "fixture.h"
#include "ui/chart_window.h"
#include "ui/figure_window.h"
#include "ui/windows.h"

namespace yarx::e2e {
namespace {

TEST(WidgetTable, EveryWidgetStandsWhereTheTableSays) {
    XServer server;
    std::vector<std::string> args = {ui::setup_shell_name, "-display", server.name()};
    std::vector<char *> argv;
    for (std::string &a : args) argv.push_back(a.data());
    int argc = static_cast<int>(argv.size());
    XtAppContext app;
    Widget toplevel = ui::start_toolkit(&app, &argc, argv.data());
    ui::build_windows(toplevel);
    ui::show_chart({illuminant_d68, "D68", Rendering::cie_rgb, false});
    XSync(XtDisplay(toplevel), False);

    Display *d = server.display();
    const Window setup_shell = XtWindow(toplevel);
    for (int i = 0; i < static_cast<int>(std::size(ui::setup_widgets)); ++i) {
        const auto widget = static_cast<SetupWidget>(i);
        SCOPED_TRACE(ui::name_of(widget));
        // The form's name holds a ".", which a name to look up cannot.
        const Widget w =
            widget == SetupWidget::form
                ? XtParent(XtNameToWidget(toplevel, "*labelC1"))
                : XtNameToWidget(toplevel, (std::string("*") + ui::name_of(widget)).c_str());
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(XtName(w), ui::name_of(widget));
        EXPECT_EQ(XtWindow(w), setup_widget(d, setup_shell, widget));
    }
    const Widget radio_box = XtNameToWidget(toplevel, "*srcraw");
    for (int i = 0; i < toggle_count; ++i)
        EXPECT_EQ(XtWindow(XtNameToWidget(radio_box, colour::illuminants[i].widget)),
                  toggle(d, setup_shell, i))
            << colour::illuminants[i].widget;

    const Widget chart_shell = XtNameToWidget(toplevel, ui::chart_shell_name);
    ASSERT_NE(chart_shell, nullptr);
    for (int i = 0; i < static_cast<int>(std::size(ui::chart_widgets)); ++i) {
        const auto widget = static_cast<ChartWidget>(i);
        SCOPED_TRACE(ui::name_of(widget));
        const Widget w =
            XtNameToWidget(chart_shell, (std::string(i ? "*" : "") + ui::name_of(widget)).c_str());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(XtWindow(w), chart_widget(d, XtWindow(chart_shell), widget));
    }

    ui::show_figure({illuminant_d68, Rendering::cie_rgb, 30, 0, nullptr});
    XSync(XtDisplay(toplevel), False);
    const Widget figure_shell = XtNameToWidget(toplevel, ui::figure_shell_name);
    ASSERT_NE(figure_shell, nullptr);
    for (int i = 1; i < static_cast<int>(std::size(ui::figure_widgets)); ++i) {
        const auto widget = static_cast<FigureWidget>(i);
        const ui::WidgetName<FigureWidget> &entry = ui::figure_widgets[i];
        SCOPED_TRACE(entry.name);
        // The scales' scroll bars share a name: each under its own scale.
        const std::string path = std::string("*") + ui::name_of(entry.parent) + "." + entry.name;
        const Widget w = XtNameToWidget(figure_shell, path.c_str());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(XtWindow(w), figure_widget(d, XtWindow(figure_shell), widget));
    }
}

}  // namespace
}  // namespace yarx::e2e
