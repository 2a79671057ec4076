#pragma once
// The program entry and the creation of the editor's three windows. The
// application object (with or without a screen) and the main window's unit
// must exist before either is called.

// Initialises the application and creates the main window, the State Change
// Editor and the Dide Command Editor, in that order. The main window's create
// event builds the Direct3D device; when that fails the user has been told and
// the application is terminated.
void CreateEditorForms();

// Creates the windows and runs the application until the main window closes.
// An exception that leaves either is shown; always returns 0.
int WinMain();
