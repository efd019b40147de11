// How the DirectShow player renders a file into its graph: a first attempt, and when that
// fails a second one on the graph emptied of what the first left behind (else the second
// render adds a second source, and the sound plays twice). Over the graph's interfaces
// alone, so the tests drive it with attempts of their own.
#pragma once
#include <windows.h>
#include <dshow.h>

#include <functional>

// Takes every filter out of the graph.
void EmptyGraph(IGraphBuilder* pGraph);

typedef std::function<HRESULT(IGraphBuilder*)> GraphAttempt;
// `first`, and when it fails `second` on the emptied graph; partial renders that still play
// count as success (DShowRenderResult).
HRESULT RenderWithFallback(IGraphBuilder* pGraph, const GraphAttempt& first, const GraphAttempt& second);
