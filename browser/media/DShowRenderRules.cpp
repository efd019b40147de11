#include "DShowRenderRules.h"

#include "MovieCtrlRules.h"

void EmptyGraph(IGraphBuilder* pGraph) {
  for (;;) {
    IEnumFilters* pEnum = NULL;
    if (FAILED(pGraph->EnumFilters(&pEnum)) || !pEnum) return;
    IBaseFilter* pFilter = NULL;
    const bool bFound = pEnum->Next(1, &pFilter, NULL) == S_OK && pFilter;
    pEnum->Release();
    if (!bFound) return;
    const HRESULT hr = pGraph->RemoveFilter(pFilter);
    pFilter->Release();
    if (FAILED(hr)) return;
  }
}

HRESULT RenderWithFallback(IGraphBuilder* pGraph, const GraphAttempt& first, const GraphAttempt& second) {
  const HRESULT hr = DShowRenderResult(first(pGraph));
  if (SUCCEEDED(hr)) return hr;
  EmptyGraph(pGraph);
  return DShowRenderResult(second(pGraph));
}
