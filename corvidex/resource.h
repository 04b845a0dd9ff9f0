// Identifiers of the plug-in's resources, shared by the resource script and the code.
#pragma once

#define IDD_PROGRESS 101           // the progress dialog's template
#define IDC_PROGRESS_BAR 1001      // its progress bar
#define IDC_PROGRESS_STATUS_BAR 1  // the status bar the dialog creates at run time (not in the template)
