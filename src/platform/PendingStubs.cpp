// Constructors of list widgets whose implementation lands separately.
#include "ListView.h"
#include "TabStrip.h"

ListView::ListView(QWidget* parent) : QTreeWidget(parent) {}
TabStrip::TabStrip(QWidget* parent) : QTabBar(parent) {}
