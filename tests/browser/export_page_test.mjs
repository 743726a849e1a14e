// Opens an exported drop-rate page in headless Chromium and drives its three search fields and
// the reset button. Usage: node export_page_test.mjs <page.html>
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch (error) {
  console.error('playwright-core is missing: run `npm ci` in tests/browser.\n' + error.message);
  process.exit(1);
}

const pagePath = process.argv[2];
if (!pagePath || !existsSync(pagePath)) {
  console.error(`no exported page at "${pagePath}"`);
  process.exit(1);
}

const allRows = ['1001', '1002', '205', '300', '42'];
let profileDir;
let context;
let page;
const pageErrors = [];

before(async () => {
  profileDir = mkdtempSync(join(tmpdir(), 'lootwright-chromium-'));
  context = await chromium.launchPersistentContext(profileDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
  page = context.pages()[0] ?? (await context.newPage());
  page.on('pageerror', (error) => pageErrors.push(error.message));
  await page.goto(pathToFileURL(resolve(pagePath)).href);
});

after(async () => {
  await context?.close();
  if (profileDir) rmSync(profileDir, { recursive: true, force: true });
});

const countLine = () => page.textContent('#countInfo');
const visibleRows = () =>
  page.$$eval('#dropTable tbody tr', (rows) =>
    rows.filter((row) => row.style.display !== 'none').map((row) => row.dataset.monsterId),
  );

async function expectRows(ids) {
  assert.deepEqual(await visibleRows(), ids);
  assert.equal(await countLine(), `当前显示 ${ids.length} / ${allRows.length} 条`);
}

async function setFields({ id = '', name = '', item = '' }) {
  await page.fill('#monsterIdSearch', id);
  await page.fill('#monsterNameSearch', name);
  await page.fill('#itemSearch', item);
}

test('count line filled at load, no script error', async () => {
  await expectRows(allRows);
  assert.deepEqual(pageErrors, []);
});

test('escaped names read back as text, never as markup', async () => {
  assert.equal(await page.textContent('tr[data-monster-id="1001"] td.name'), 'Goblin <Chief>');
  assert.equal(
    await page.textContent('tr[data-monster-id="1002"] td.items'),
    'Tom\'s "Lucky" Charm & Co(N/A)',
  );
  assert.equal(
    await page.getAttribute('tr[data-monster-id="205"] td.items', 'title'),
    '红宝石(9.00%)、<Bow>(10.00%/9.00%)',
  );
  assert.equal(await page.locator('chief, bow').count(), 0);
  assert.equal(await page.locator('#dropTable td').count(), allRows.length * 3);
});

test('monster id field', async () => {
  await setFields({ id: '100' });
  await expectRows(['1001', '1002']);
  await setFields({ id: '  205 ' });
  await expectRows(['205']);
  await setFields({ id: '4' });
  await expectRows(['42']);
  await setFields({ id: '9999' });
  await expectRows([]);
});

test('monster name field, any case, escaped characters', async () => {
  await setFields({ name: 'GOBLIN' });
  await expectRows(['1001']);
  await setFields({ name: '<chief>' });
  await expectRows(['1001']);
  await setFields({ name: '"fire"' });
  await expectRows(['300']);
  await setFields({ name: '骷髅' });
  await expectRows(['205']);
  await setFields({ name: 'o' });
  await expectRows(['1001', '1002', '300']);
});

test('item field by id, by name, and across two neighbouring items', async () => {
  await setFields({});
  await page.locator('#itemSearch').pressSequentially('sword 5002');
  await expectRows(['1001']);
  await setFields({ item: 'Iron Sword' });
  await expectRows(['1001', '300']);
  await setFields({ item: '7777 7777' });
  await expectRows(['300']);
  await setFields({ item: "tom's \"lucky\"" });
  await expectRows(['1002']);
  await setFields({ item: '<BOW>' });
  await expectRows(['205']);
  await setFields({ item: '5005' });
  await expectRows(['205', '42']);
  await setFields({ item: '金币' });
  await expectRows(['1001']);
  await setFields({ item: '(1.00%)' });
  await expectRows([]);
});

test('fields combine', async () => {
  await setFields({ id: '100', item: 'sword' });
  await expectRows(['1001']);
  await setFields({ id: '1', name: 'wolf', item: 'charm' });
  await expectRows(['1002']);
  await setFields({ id: '4', item: 'sword' });
  await expectRows([]);
  await setFields({ name: 'dragon', item: '7777' });
  await expectRows(['300']);
});

test('reset empties the fields and shows every row', async () => {
  await setFields({ id: '100', name: 'goblin', item: 'shield' });
  await expectRows(['1001']);
  await page.click('#resetBtn');
  for (const field of ['#monsterIdSearch', '#monsterNameSearch', '#itemSearch'])
    assert.equal(await page.inputValue(field), '');
  await expectRows(allRows);
  assert.deepEqual(pageErrors, []);
});
