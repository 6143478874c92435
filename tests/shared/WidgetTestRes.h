// Ids of the widget tests' own host dialog.
#pragma once

#define IDD_WIDGET_HOST 200
#define IDC_HOST_BUTTON 201
#define IDC_HOST_LEVEL 202
